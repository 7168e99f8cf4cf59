#pragma once
// Number and date patterns as the windows and reports show them, with rounding half
// away from zero and the decimal separator of the current locale (QLocale()).
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// Numeric pattern: "0" digit always shown, "#" digit when significant, "." decimal
// separator, "\x" a literal x, "%" scales by 100, anything else literal.
QString Format(double value, const QString& pattern);
// Date patterns "yymmdd", "dd/mm/yy hh:mm", "dd/mm/yy  hh:mm" and the like
// (d, m, y, h, n/m-after-h, s letters), "/" and ":" literal.
QString FormatDate(const QDateTime& t, const QString& pattern);
// General date-time text: short date and time with seconds, dd/mm/yyyy hh:mm:ss.
QString GeneralDate(const QDateTime& t);
// Parses what GeneralDate writes (also without seconds); invalid on failure.
QDateTime ParseGeneralDate(const QString& text);

double RoundHalfAway(double v, int decimals = 0);
double RoundHalfEven(double v);
// Lenient scan of a leading number ("12abc" -> 12, "" -> 0), "." or "," as separator.
double Val(const QString& text);
// Rounded to even and checked against the 16-bit range.
std::optional<int16_t> ToInt16(double v);
bool FitsInt16(double v);
// floor(x) where x within 1e-9 of a whole number counts as that number.
double FloorTolerant(double x);

}  // namespace platform
