#pragma once

// The vertical grid control with its rows.
#include "editorrow.h"
#include "verticalgrid.h"
