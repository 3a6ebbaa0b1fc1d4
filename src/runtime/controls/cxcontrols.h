#pragma once

// The container controls and simple controls that forms are built of.
#include "runtime/controls/bevel.h"
#include "runtime/controls/button.h"
#include "runtime/controls/groupbox.h"
#include "runtime/controls/imagelist.h"
#include "runtime/controls/label.h"
#include "runtime/controls/pagecontrol.h"
#include "runtime/controls/panel.h"
#include "runtime/controls/splitter.h"
#include "runtime/controls/tabcontrol.h"
