#pragma once

#include "hostapp/services/GridPrinter.h"

class BoardModel;

// The board as a printed table. Print has no colours: an exchange keeps its "*",
// a day that breaks a rule gets a "!" after it, a short day's total "不足", and
// the title says what the marks mean.
PrintTable boardPrintTable(const BoardModel &model, const QString &title);
