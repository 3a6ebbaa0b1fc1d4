#pragma once

// The grid control with its levels, table views, columns and data controllers.
#include "grid.h"
#include "gridbandedview.h"
#include "gridcolumn.h"
#include "griddatacontroller.h"
#include "gridview.h"
