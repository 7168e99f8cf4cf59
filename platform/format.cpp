#include "platform/format.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace platform {

namespace {

struct Token {
    enum Kind { Zero, Hash, Point, Percent, Literal } kind;
    QString text;
};

QList<Token> tokenize(const QString& pattern) {
    QList<Token> out;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == '\\' && i + 1 < pattern.size()) {
            out.append(Token{Token::Literal, QString(pattern[++i])});
        } else if (c == '"') {
            const qsizetype end = pattern.indexOf('"', i + 1);
            const qsizetype stop = end < 0 ? pattern.size() : end;
            out.append(Token{Token::Literal, pattern.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == '0') {
            out.append(Token{Token::Zero, {}});
        } else if (c == '#') {
            out.append(Token{Token::Hash, {}});
        } else if (c == '.') {
            out.append(Token{Token::Point, {}});
        } else if (c == '%') {
            out.append(Token{Token::Percent, {}});
        } else {
            out.append(Token{Token::Literal, QString(c)});
        }
    }
    return out;
}

// Decimal digits of |v| rounded half away from zero to `decimals` places, worked on
// the shortest text that reads back as v, so 2.675 rounds like the number it shows.
void roundedDigits(double v, int decimals, QString& intPart, QString& fracPart) {
    QString s = QLocale::c().toString(std::fabs(v), 'f', QLocale::FloatingPointShortest);
    const qsizetype dot = s.indexOf('.');
    QString ip = dot < 0 ? s : s.left(dot);
    QString fp = dot < 0 ? QString() : s.mid(dot + 1);
    const bool roundUp = fp.size() > decimals && fp[decimals] >= '5';
    fp = fp.left(decimals).leftJustified(decimals, '0');
    QString all = ip + fp;
    if (roundUp) {
        qsizetype k = all.size() - 1;
        while (k >= 0 && all[k] == '9') all[k--] = '0';
        if (k < 0)
            all.prepend('1');
        else
            all[k] = QChar(all[k].unicode() + 1);
    }
    intPart = all.left(all.size() - decimals);
    fracPart = all.right(decimals);
    while (intPart.startsWith('0')) intPart.remove(0, 1);
}

}  // namespace

QString Format(double value, const QString& pattern) {
    const QList<Token> tokens = tokenize(pattern);
    qsizetype point = -1;
    bool percent = false;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind == Token::Point && point < 0) point = i;
        if (tokens[i].kind == Token::Percent) percent = true;
    }
    const qsizetype intEnd = point < 0 ? tokens.size() : point;
    int decimals = 0;
    QList<qsizetype> intSlots;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const bool digit = tokens[i].kind == Token::Zero || tokens[i].kind == Token::Hash;
        if (!digit) continue;
        if (i < intEnd)
            intSlots.append(i);
        else
            ++decimals;
    }
    if (percent) value *= 100.0;

    QString ip, fp;
    roundedDigits(value, decimals, ip, fp);
    const bool negative = value < 0 && (!ip.isEmpty() || fp.contains(QRegularExpression("[1-9]")));

    // Digits every '0' from the first one on must show.
    int minDigits = 0;
    for (qsizetype k = 0; k < intSlots.size(); ++k)
        if (tokens[intSlots[k]].kind == Token::Zero) {
            minDigits = int(intSlots.size() - k);
            break;
        }
    if (ip.size() < minDigits) ip = ip.rightJustified(minDigits, '0');

    // Digit text per integer slot, right to left; surplus digits go to the first slot.
    QList<QString> slotText(tokens.size());
    qsizetype remaining = ip.size();
    for (qsizetype k = intSlots.size() - 1; k >= 0; --k) {
        if (remaining <= 0) break;
        if (k == 0) {
            slotText[intSlots[k]] = ip.left(remaining);
            remaining = 0;
        } else {
            slotText[intSlots[k]] = ip.mid(remaining - 1, 1);
            --remaining;
        }
    }
    if (intSlots.isEmpty() && !ip.isEmpty()) {
        // No integer placeholder: the integer digits stand before the point.
        slotText.append(QString());
    }

    const QString sep = QLocale().decimalPoint();
    QString out;
    bool digitShown = false;
    qsizetype fracIndex = 0;
    const qsizetype firstSlot = intSlots.isEmpty() ? intEnd : intSlots.first();
    const qsizetype lastSlot = intSlots.isEmpty() ? -1 : intSlots.last();
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (i < intEnd) {
            if (t.kind == Token::Zero || t.kind == Token::Hash) {
                out += slotText[i];
                if (!slotText[i].isEmpty()) digitShown = true;
            } else if (t.kind == Token::Percent) {
                out += '%';
            } else if (t.kind == Token::Literal) {
                if (i < firstSlot || i > lastSlot || digitShown) out += t.text;
            }
            continue;
        }
        if (i == point) {
            if (intSlots.isEmpty()) out += ip;
            out += sep;
        } else if (t.kind == Token::Zero || t.kind == Token::Hash) {
            out += fp.mid(fracIndex++, 1);
        } else if (t.kind == Token::Percent) {
            out += '%';
        } else if (t.kind == Token::Literal) {
            out += t.text;
        }
    }
    return negative ? QStringLiteral("-") + out : out;
}

QString FormatDate(const QDateTime& t, const QString& pattern) {
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        qsizetype n = 1;
        while (i + n < pattern.size() && pattern[i + n].toLower() == c) ++n;
        const QDate d = t.date();
        const QTime tm = t.time();
        auto num = [&](int v, int width) { return QString::number(v).rightJustified(width, '0'); };
        if (c == 'y') {
            out += n >= 4 ? num(d.year(), 4) : num(d.year() % 100, 2);
        } else if (c == 'd') {
            out += num(d.day(), n >= 2 ? 2 : 1);
        } else if (c == 'm') {
            out += afterHour ? num(tm.minute(), n >= 2 ? 2 : 1) : num(d.month(), n >= 2 ? 2 : 1);
            afterHour = false;
        } else if (c == 'n') {
            out += num(tm.minute(), n >= 2 ? 2 : 1);
        } else if (c == 'h') {
            out += num(tm.hour(), n >= 2 ? 2 : 1);
            afterHour = true;
        } else if (c == 's') {
            out += num(tm.second(), n >= 2 ? 2 : 1);
        } else {
            out += pattern.mid(i, n);
        }
        i += n;
    }
    return out;
}

QString GeneralDate(const QDateTime& t) {
    return t.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QDateTime ParseGeneralDate(const QString& text) {
    const QString s = text.trimmed();
    for (const char* f : {"dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm", "d/M/yyyy H:mm:ss",
                          "d/M/yyyy H:mm", "dd/MM/yy HH:mm:ss", "dd/MM/yyyy"}) {
        QDateTime t = QDateTime::fromString(s, QLatin1String(f));
        if (t.isValid()) return t;
    }
    return {};
}

double RoundHalfAway(double v, int decimals) {
    QString ip, fp;
    roundedDigits(v, decimals, ip, fp);
    const double r = QLocale::c().toDouble((ip.isEmpty() ? QStringLiteral("0") : ip) +
                                           (decimals > 0 ? "." + fp : QString()));
    return v < 0 ? -r : r;
}

double RoundHalfEven(double v) {
    return std::nearbyint(v);
}

double Val(const QString& text) {
    const QString s = text.trimmed();
    qsizetype i = 0;
    QString num;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) num += s[i++];
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i].isDigit()) {
            num += s[i];
        } else if ((s[i] == '.' || s[i] == ',') && !point) {
            point = true;
            num += '.';
        } else {
            break;
        }
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(num, &ok);
    return ok ? v : 0.0;
}

bool FitsInt16(double v) {
    const double r = RoundHalfEven(v);
    return std::isfinite(r) && r >= -32768.0 && r <= 32767.0;
}

std::optional<int16_t> ToInt16(double v) {
    if (!FitsInt16(v)) return std::nullopt;
    return int16_t(RoundHalfEven(v));
}

double FloorTolerant(double x) {
    const double r = std::round(x);
    return std::fabs(x - r) < 1e-9 ? r : std::floor(x);
}

}  // namespace platform
