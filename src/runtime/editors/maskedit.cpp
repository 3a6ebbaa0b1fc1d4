#include "maskedit.h"

#include "runtime/styles.h"

#include <QStringList>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Splits "mask;save;blank" at the separators that are not escaped.
QStringList maskFields(const QString &mask)
{
    QStringList fields{QString()};
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == u';') {
            fields.append(QString());
            continue;
        }
        fields.last().append(c);
        if (c == u'\\' && i + 1 < mask.size())
            fields.last().append(mask.at(++i));
    }
    return fields;
}

// Classic mask characters with a direct counterpart in the input mask syntax.
constexpr std::pair<char16_t, char16_t> counterparts[] = {
    {u'0', u'9'}, {u'9', u'0'}, {u'#', u'#'}, {u'L', u'A'}, {u'l', u'a'}, {u'A', u'N'},
    {u'a', u'n'}, {u'C', u'X'}, {u'c', u'x'}, {u'>', u'>'}, {u'<', u'<'}, {u'_', u' '},
};

// The same mask in the syntax of QLineEdit::setInputMask().
QString qtInputMask(const QString &editMask)
{
    const QStringList fields = maskFields(editMask);
    const QString &mask = fields.first();
    // Literals that the input mask syntax would read as codes.
    static const QString codesOnlyThere = u"NnXxDdHhBb[]{}"_s;

    QString result;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        const bool hasNext = i + 1 < mask.size();
        if (c == u'!') // leading blanks: the input mask has no such notion
            continue;
        if (c == u'\\') {
            if (hasNext) {
                result += QChar(u'\\');
                result += mask.at(++i);
            }
        } else if (c == u'<' && hasNext && mask.at(i + 1) == u'>') {
            result += QChar(u'!');
            ++i;
        } else if (auto it = std::find_if(std::begin(counterparts), std::end(counterparts),
                                          [c](auto pair) { return pair.first == c; });
                   it != std::end(counterparts)) {
            result += QChar(it->second);
        } else {
            if (codesOnlyThere.contains(c))
                result += QChar(u'\\');
            result += c;
        }
    }
    if (result.isEmpty())
        return result;
    const QString blank =
        fields.size() > 2 && !fields.at(2).isEmpty() ? fields.at(2).left(1) : u"_"_s;
    return result + u';' + blank;
}

} // namespace

TcxMaskEdit::TcxMaskEdit(QWidget *parent)
    : QLineEdit(parent)
{
    new TcxEditStyle(this);
}

void TcxMaskEdit::setEditMask(const QString &mask)
{
    m_editMask = mask;
    setInputMask(qtInputMask(mask));
}
