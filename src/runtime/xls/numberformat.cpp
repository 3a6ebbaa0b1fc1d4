#include "numberformat.h"

#include "runtime/datetime.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>

using namespace Qt::StringLiterals;

namespace Rt::Xls {

namespace {

// One section of a format, split into literal text and the code around it.
struct Token
{
    enum Kind { Literal, Code };
    Kind kind;
    QString text;
};

QList<QString> sectionsOf(const QString &format)
{
    QList<QString> sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'"')
            quoted = !quoted;
        if (c == u'\\' && i + 1 < format.size()) {
            current += c;
            current += format.at(++i);
            continue;
        }
        if (c == u';' && !quoted) {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

// Quoted text and backslash escapes become literals; [colour] and [$-locale]
// parts are dropped, [h] [m] [s] kept as code.
QList<Token> tokenize(const QString &section)
{
    QList<Token> tokens;
    auto literal = [&tokens](const QString &text) {
        if (!tokens.isEmpty() && tokens.back().kind == Token::Literal)
            tokens.back().text += text;
        else
            tokens.append({Token::Literal, text});
    };
    auto code = [&tokens](QChar c) {
        if (!tokens.isEmpty() && tokens.back().kind == Token::Code)
            tokens.back().text += c;
        else
            tokens.append({Token::Code, QString(c)});
    };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section.at(i);
        if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            literal(section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1));
            i = end < 0 ? section.size() : end;
        } else if (c == u'\\' && i + 1 < section.size()) {
            literal(QString(section.at(++i)));
        } else if (c == u'[') {
            const qsizetype end = section.indexOf(u']', i + 1);
            const QString inside = section.mid(i + 1, (end < 0 ? section.size() : end) - i - 1);
            if (QStringList{u"h"_s, u"hh"_s, u"m"_s, u"mm"_s, u"s"_s, u"ss"_s}.contains(
                    inside.toLower())) {
                const QString bracketed = u"["_s + inside + u"]"_s;
                for (QChar k : bracketed)
                    code(k);
            }
            i = end < 0 ? section.size() : end;
        } else if (c == u'_' && i + 1 < section.size()) {
            literal(u" "_s); // space as wide as the next character
            ++i;
        } else if (c == u'*' && i + 1 < section.size()) {
            ++i; // fill: nothing to repeat in a text
        } else if (QStringView(u"0#?.,%Ee+-/:yYmMdDhHsSaApP@").contains(c)) {
            code(c);
        } else {
            literal(QString(c));
        }
    }
    return tokens;
}

bool hasDateCode(const QList<Token> &tokens)
{
    for (const Token &t : tokens) {
        if (t.kind != Token::Code)
            continue;
        for (QChar c : t.text) {
            if (QStringView(u"yYmMdDhHsS").contains(c))
                return true;
        }
    }
    return false;
}

QString pad(qint64 v, int width)
{
    return QString::number(v).rightJustified(width, u'0');
}

QString formatDate(double serial, const QList<Token> &tokens)
{
    const QDateTime dt = Rt::DateTime::toDateTime(serial);
    const QDate date = dt.date();
    const QTime time = dt.time();
    bool twelveHour = false;
    for (const Token &t : tokens) {
        if (t.kind == Token::Code && t.text.contains(u"AM/PM"_s, Qt::CaseInsensitive))
            twelveHour = true;
    }
    // Runs of one letter, "m" meaning minutes next to hours or seconds.
    struct Run
    {
        QString code;
        bool literal;
    };
    QList<Run> runs;
    for (const Token &t : tokens) {
        if (t.kind == Token::Literal) {
            runs.append({t.text, true});
            continue;
        }
        const QString &s = t.text;
        for (qsizetype i = 0; i < s.size();) {
            if (s.mid(i, 5).compare(u"AM/PM"_s, Qt::CaseInsensitive) == 0) {
                runs.append({u"AM/PM"_s, false});
                i += 5;
                continue;
            }
            if (s.at(i) == u'[') {
                const qsizetype end = s.indexOf(u']', i);
                runs.append({s.mid(i, end - i + 1).toLower(), false});
                i = end + 1;
                continue;
            }
            const QChar c = s.at(i).toLower();
            qsizetype j = i;
            while (j < s.size() && s.at(j).toLower() == c)
                ++j;
            runs.append({s.mid(i, j - i).toLower(), !QStringView(u"ymdhs").contains(c)});
            i = j;
        }
    }
    QString out;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const Run &r = runs.at(i);
        if (r.literal) {
            out += r.code;
            continue;
        }
        const QChar c = r.code.at(0);
        const int n = int(r.code.size());
        auto nearTime = [&runs, i](qsizetype step) {
            for (qsizetype k = i + step; k >= 0 && k < runs.size(); k += step) {
                if (runs.at(k).literal)
                    continue;
                const QChar kc = runs.at(k).code.at(0);
                return kc == u'h' || kc == u's' || runs.at(k).code.startsWith(u"[h"_s);
            }
            return false;
        };
        if (r.code.compare(u"am/pm"_s, Qt::CaseInsensitive) == 0) {
            out += time.hour() < 12 ? u"AM"_s : u"PM"_s;
        } else if (c == u'[') {
            const qint64 totalSeconds = std::llround(serial * 86400.0);
            if (r.code.startsWith(u"[h"_s))
                out += pad(totalSeconds / 3600, int(r.code.size()) - 2);
            else if (r.code.startsWith(u"[m"_s))
                out += pad(totalSeconds / 60, int(r.code.size()) - 2);
            else
                out += pad(totalSeconds, int(r.code.size()) - 2);
        } else if (c == u'y') {
            out += n <= 2 ? pad(date.year() % 100, 2) : pad(date.year(), 4);
        } else if (c == u'm' && n <= 2 && (nearTime(-1) || nearTime(1))) {
            out += pad(time.minute(), n);
        } else if (c == u'm') {
            if (n <= 2)
                out += pad(date.month(), n);
            else
                out += QLocale::c().monthName(date.month(),
                                              n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else if (c == u'd') {
            if (n <= 2)
                out += pad(date.day(), n);
            else
                out += QLocale::c().dayName(date.dayOfWeek(),
                                            n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        } else if (c == u'h') {
            int hour = time.hour();
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += pad(hour, std::min(n, 2));
        } else if (c == u's') {
            out += pad(time.second(), std::min(n, 2));
        }
    }
    return out;
}

QString groupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += u',';
        out += digits.at(i);
    }
    return out;
}

QString formatNumber(double value, const QList<Token> &tokens)
{
    // The code part: from the first placeholder to the last.
    QString code;
    QString prefix;
    QString suffix;
    bool seenCode = false;
    for (const Token &t : tokens) {
        if (t.kind == Token::Code && t.text != u"@"_s) {
            code += suffix + t.text;
            suffix.clear();
            seenCode = true;
        } else if (t.kind == Token::Literal) {
            (seenCode ? suffix : prefix) += t.text;
        }
    }
    if (!seenCode)
        return prefix + suffix;
    if (code.contains(u'%'))
        value *= 100.0 * std::pow(100.0, code.count(u'%') - 1);
    const qsizetype ePos = code.indexOf(u'E', 0, Qt::CaseInsensitive);
    const QString mantissa = ePos >= 0 ? code.left(ePos) : code;
    const qsizetype dot = mantissa.indexOf(u'.');
    const QString integerCode = dot >= 0 ? mantissa.left(dot) : mantissa;
    const QString fractionCode = dot >= 0 ? mantissa.mid(dot + 1) : QString();
    const int decimals =
        int(fractionCode.count(u'0') + fractionCode.count(u'#') + fractionCode.count(u'?'));
    if (ePos >= 0)
        return prefix + QString::number(value, 'E', decimals) + suffix;
    // A trailing comma scales by a thousand per comma.
    QString integerPart = integerCode;
    while (integerPart.endsWith(u',')) {
        value /= 1000.0;
        integerPart.chop(1);
    }
    const bool grouped = integerPart.contains(u',');
    const int minDigits = int(integerPart.count(u'0'));
    QString number = QString::number(std::fabs(value), 'f', decimals);
    QString whole = number.section(u'.', 0, 0);
    QString fraction = number.section(u'.', 1);
    // Optional decimals (#) drop their trailing zeros.
    const int required = int(fractionCode.count(u'0'));
    while (fraction.size() > required && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole == u"0"_s && minDigits == 0)
        whole.clear();
    whole = whole.rightJustified(minDigits, u'0');
    if (grouped)
        whole = groupThousands(whole);
    const bool negative = value < 0 && (number.contains(QRegularExpression(u"[1-9]"_s)));
    return prefix + (negative ? u"-"_s : QString()) + whole
           + (fraction.isEmpty() ? QString() : u"."_s + fraction) + QString(code.count(u'%'), u'%')
           + suffix;
}

QString generalNumber(double value)
{
    if (std::isnan(value) || std::isinf(value))
        return u"#NUM!"_s;
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

} // namespace

bool isDateFormat(const QString &format)
{
    return hasDateCode(tokenize(sectionsOf(format).value(0)));
}

QString formatValue(const Value &value, const QString &format)
{
    switch (value.kind) {
    case Value::Kind::Empty:
        return QString();
    case Value::Kind::Text:
        return value.str();
    case Value::Kind::Boolean:
        return value.num() != 0 ? u"TRUE"_s : u"FALSE"_s;
    case Value::Kind::Error:
        return errorText(value.errorCode());
    case Value::Kind::Number:
        break;
    }
    const double v = value.num();
    // Only a damaged file holds an infinite number or none at all; no format,
    // date or otherwise, can show it.
    if (!std::isfinite(v))
        return u"#NUM!"_s;
    if (format.isEmpty() || format.compare(u"General"_s, Qt::CaseInsensitive) == 0)
        return generalNumber(v);
    const QList<QString> sections = sectionsOf(format);
    QString section = sections.at(0);
    double shown = v;
    // A negative section shows the number without its sign; a zero section zero.
    if (v < 0 && sections.size() >= 2) {
        section = sections.at(1);
        shown = -v;
    } else if (v == 0 && sections.size() >= 3) {
        section = sections.at(2);
    }
    const QList<Token> tokens = tokenize(section);
    if (hasDateCode(tokens)) {
        if (v < 0 || v > 2958465.99999)
            return u"#######"_s;
        return formatDate(v, tokens);
    }
    if (section.compare(u"General"_s, Qt::CaseInsensitive) == 0)
        return generalNumber(shown);
    return formatNumber(shown, tokens);
}

} // namespace Rt::Xls
