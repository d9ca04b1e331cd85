#include "oracle.h"

#include "core/sqltranslate.h"
#include "core/value.h"

#include <QRegularExpression>
#include <QString>
#include <cmath>
#include <map>
#include <vector>

namespace hbfuzz {

namespace {

// The protected pieces of a statement, found by a scanner of its own (not the translator's):
// '...' and "..." with doubled delimiters, `...`, "-- " comments up to the line's end and
// /* */ comments; one left open runs to the end.
struct Token {
    QString text;
    bool afterLike = false;  // a quoted text right after the keyword LIKE
};

std::vector<Token> protectedTokens(const QString &sql)
{
    std::vector<Token> tokens;
    enum { Plain, Quote, Line, Block } state = Plain;
    QChar delimiter;
    int start = 0;
    int plainStart = 0;
    const int n = sql.size();
    static const QRegularExpression likeBefore(QStringLiteral("\\bLIKE\\s*$"), QRegularExpression::CaseInsensitiveOption);
    const auto close = [&](int end) {
        Token t;
        t.text = sql.mid(start, end - start);
        t.afterLike = t.text.startsWith(QLatin1Char('\'')) || t.text.startsWith(QLatin1Char('"'));
        t.afterLike = t.afterLike && likeBefore.match(sql.mid(plainStart, start - plainStart)).hasMatch();
        tokens.push_back(t);
        state = Plain;
        plainStart = end;
    };
    for (int i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        switch (state) {
        case Plain:
            if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
                state = Quote;
                delimiter = c;
                start = i;
            } else if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-') &&
                       (i + 2 == n || sql.at(i + 2).unicode() <= 32)) {
                state = Line;
                start = i;
            } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
                state = Block;
                start = i;
                ++i;
            }
            break;
        case Quote:
            if (c == delimiter) {
                if (i + 1 < n && sql.at(i + 1) == delimiter)
                    ++i;
                else
                    close(i + 1);
            }
            break;
        case Line:
            if (c == QLatin1Char('\n'))
                close(i);
            break;
        case Block:
            if (c == QLatin1Char('*') && i + 1 < n && sql.at(i + 1) == QLatin1Char('/')) {
                ++i;
                close(i + 1);
            }
            break;
        }
    }
    if (state != Plain)
        close(n);
    return tokens;
}

// The LIKE pattern as the translator may rewrite it: a * at either end inside its quotes as %.
QString likeRewritten(const QString &literal)
{
    if (literal.size() < 2 || literal.back() != literal.front())
        return literal;
    QString out = literal;
    if (out.size() > 2 && out.at(1) == QLatin1Char('*'))
        out[1] = QLatin1Char('%');
    if (out.size() > 2 && out.at(out.size() - 2) == QLatin1Char('*'))
        out[out.size() - 2] = QLatin1Char('%');
    return out;
}

std::string text(const QString &s)
{
    return s.toStdString();
}

}  // namespace

std::string checkTranslator(const uint8_t *data, size_t size)
{
    if (size == 0)
        return {};
    const hb::DbKind kind = (data[0] & 1) ? hb::DbKind::Server : hb::DbKind::File;
    const QString in = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    QString out;
    try {
        out = hb::translateSql(in, kind);
    } catch (const hb::HbError &) {
        return {};  // refused whole
    }
    return compareProtected(in.toStdString(), out.toStdString());
}

std::string compareProtected(const std::string &inText, const std::string &outText)
{
    const QString in = QString::fromStdString(inText);
    const QString out = QString::fromStdString(outText);
    const auto before = protectedTokens(in);
    const auto after = protectedTokens(out);
    std::map<QString, int> left;
    for (const Token &t : after)
        ++left[t.text];
    // Every piece of the input is there, as often as the input has it.
    for (const Token &t : before) {
        // A LIKE pattern is looked for in its rewritten form first: the same text elsewhere
        // keeps its *.
        auto it = left.find(t.afterLike ? likeRewritten(t.text) : t.text);
        if (it == left.end() || it->second == 0)
            it = left.find(t.text);
        if (it == left.end() || it->second == 0)
            return "lost or altered: " + text(t.text) + "\n in:  " + text(in) + "\n out: " + text(out);
        --it->second;
    }
    // Nothing else but copies of them and date literals.
    static const QRegularExpression date(QStringLiteral("^'\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}'$"));
    for (const Token &t : after) {
        bool known = date.match(t.text).hasMatch();
        for (const Token &b : before)
            known = known || b.text == t.text || (b.afterLike && likeRewritten(b.text) == t.text);
        if (!known)
            return "added: " + text(t.text) + "\n in:  " + text(in) + "\n out: " + text(out);
    }
    return {};
}

std::string checkNumber(const uint8_t *data, size_t size)
{
    const QString in = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    double v = 0;
    if (!hb::parseNumber(in, &v))
        return {};
    if (!std::isfinite(v))
        return "not finite: " + text(in);
    double again = 0;
    const QString shown = QString::number(v, 'g', 17);
    if (!hb::parseNumber(shown, &again) || again != v)
        return "does not read back: " + text(in) + " -> " + text(shown);
    return {};
}

std::string checkDate(const uint8_t *data, size_t size)
{
    const QString in = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QDateTime dt;
    if (!hb::parseDateText(in, &dt))
        return {};
    if (!dt.isValid())
        return "invalid date accepted: " + text(in);
    QDateTime again;
    const QString stored = hb::canonicalDateText(dt);
    if (!hb::parseDateText(stored, &again) || again != dt)
        return "does not read back: " + text(in) + " -> " + text(stored);
    return {};
}

Check checkByName(const std::string &name)
{
    if (name == "translator")
        return checkTranslator;
    if (name == "number")
        return checkNumber;
    if (name == "date")
        return checkDate;
    return nullptr;
}

}  // namespace hbfuzz
