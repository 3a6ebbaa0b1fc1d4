#pragma once

// The tree list control with its columns and nodes.
#include "treelist.h"
#include "treelistcolumn.h"
#include "treelistnode.h"
