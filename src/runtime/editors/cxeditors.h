#pragma once

// The editors forms are built of. The styled ones (text, button, image combo box,
// spin, currency, memo, mask and popup editors) carry a focused style; the date,
// time and check box editors do not.
#include "runtime/editors/buttonedit.h"
#include "runtime/editors/checkbox.h"
#include "runtime/editors/dateedit.h"
#include "runtime/editors/disabledtext.h"
#include "runtime/editors/imagecombobox.h"
#include "runtime/editors/maskedit.h"
#include "runtime/editors/memo.h"
#include "runtime/editors/popupedit.h"
#include "runtime/editors/spinedits.h"
#include "runtime/editors/textedit.h"
#include "runtime/editors/timeedit.h"
