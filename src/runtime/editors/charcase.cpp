#include "charcase_p.h"

#include <QLineEdit>
#include <QValidator>

namespace {

// A line edit takes over the text its validator corrects and keeps the caret where
// the validator leaves it, so the correction happens as the letters arrive.
class UpperCaseValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &position) const override
    {
        input = input.toUpper();
        position = qMin(position, int(input.size()));
        return Acceptable;
    }
};

} // namespace

void applyCharCase(QLineEdit *edit, Rt::CharCase charCase)
{
    auto *current = dynamic_cast<const UpperCaseValidator *>(edit->validator());
    if ((charCase == Rt::CharCase::Upper) == (current != nullptr))
        return;
    if (charCase == Rt::CharCase::Upper) {
        edit->setValidator(new UpperCaseValidator(edit));
        edit->setText(edit->text());
    } else {
        edit->setValidator(nullptr);
        delete current;
    }
}
