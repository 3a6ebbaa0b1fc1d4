#pragma once

#include "charcase.h"

class QLineEdit;

// Makes edit keep its text in charCase: typed and pasted letters change case as
// they arrive, the caret staying where it was.
void applyCharCase(QLineEdit *edit, Rt::CharCase charCase);
