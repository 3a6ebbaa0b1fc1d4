#include "accessibility.h"

#include <QRegularExpression>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace Rt {

namespace {

bool isHan(QChar c)
{
    return c.script() == QChar::Script_Han;
}

// Blanks between two Chinese characters pad the caption; others part words.
QString withoutPadding(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isSpace() && !result.isEmpty() && isHan(result.back())) {
            qsizetype next = i;
            while (next < text.size() && text.at(next).isSpace())
                ++next;
            if (next < text.size() && isHan(text.at(next))) {
                i = next - 1;
                continue;
            }
        }
        result += text.at(i);
    }
    return result;
}

} // namespace

QString spokenText(const QString &caption)
{
    static const QRegularExpression mnemonicGroup(u"[(（]&[^&)）][)）]"_s);
    static const QRegularExpression trailingColon(u"[:：\\s]+$"_s);
    QString text = caption;
    text.remove(mnemonicGroup);
    // "&&" stands for one ampersand; a single "&" marks the mnemonic.
    for (qsizetype at = text.indexOf(u'&'); at >= 0 && at < text.size() - 1;
         at = text.indexOf(u'&', at + 1)) {
        text.remove(at, 1);
    }
    text.remove(trailingColon);
    return withoutPadding(text.trimmed());
}

void setAccessibleName(QWidget *control, const QString &name)
{
    for (QWidget *part = control; part; part = part->focusProxy())
        part->setAccessibleName(name);
}

} // namespace Rt
