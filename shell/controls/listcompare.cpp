#include "shell/controls/listcompare.h"

#include "platform/datetime.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>

namespace riz {

bool TryReadListDate(const QString& text, TDateColumnType type, double& value)
{
    static const QRegularExpression date(
        QStringLiteral(R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{4})\s*$)"));
    static const QRegularExpression dateTime(QStringLiteral(
        R"(^\s*(\d{1,2})\.(\d{1,2})\.(\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?\s*$)"));
    const QRegularExpressionMatch m =
        (type == TDateColumnType::dctDateTime ? dateTime : date).match(text);
    if (!m.hasMatch())
        return false;
    const int day = m.captured(1).toInt();
    const int month = m.captured(2).toInt();
    const int year = type == TDateColumnType::dctDateWithoutYear ? 2000 : m.captured(3).toInt();
    TDateTime d = 0;
    if (!TryEncodeDate(year, month, day, d))
        return false;
    if (type == TDateColumnType::dctDateTime && m.lastCapturedIndex() >= 5) {
        const int hh = m.captured(4).toInt();
        const int nn = m.captured(5).toInt();
        const int ss = m.lastCapturedIndex() >= 6 ? m.captured(6).toInt() : 0;
        if (hh > 23 || nn > 59 || ss > 59)
            return false;
        d += EncodeTime(hh, nn, ss, 0);
    }
    value = d;
    return true;
}

int ListViewCompareTexts(const QString& text1, const QString& text2, bool dateColumn,
                         TDateColumnType type, bool descending)
{
    int result = 0;
    if (text1.isEmpty()) {
        result = -1;
    } else if (text2.isEmpty()) {
        result = 1;
    } else {
        double v1 = 0, v2 = 0;
        if (dateColumn && TryReadListDate(text1, type, v1) && TryReadListDate(text2, type, v2)) {
            result = v1 < v2 ? -1 : 1;
        } else {
            static const QCollator collator = [] {
                QCollator c(QLocale(QLocale::German, QLocale::Germany));
                c.setCaseSensitivity(Qt::CaseInsensitive);
                return c;
            }();
            const int c = collator.compare(text1, text2);
            result = c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
    }
    return descending ? -result : result;
}

} // namespace riz
