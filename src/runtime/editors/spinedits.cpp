#include "spinedits.h"

#include "runtime/styles.h"

#include <limits>

TcxSpinEdit::TcxSpinEdit(QWidget *parent)
    : QSpinBox(parent)
{
    new TcxEditStyle(this);
    setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

TcxCurrencyEdit::TcxCurrencyEdit(QWidget *parent)
    : QDoubleSpinBox(parent)
{
    new TcxEditStyle(this);
    setDecimals(2);
    // Wide enough for any amount a ledger holds, yet short enough to size the edit by.
    setRange(-999'999'999'999.99, 999'999'999'999.99);
}
