#include "core/sqltranslate.h"

#include "core/value.h"

#include <QRegularExpression>
#include <QStringList>
#include <vector>

namespace hb {

namespace {

// A statement cut into runs of plain SQL and quoted literals (quotes included).
struct Piece {
    QString text;
    bool quoted = false;
};

std::vector<Piece> splitQuoted(const QString &sql)
{
    std::vector<Piece> out;
    QString cur;
    int i = 0;
    const int n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            if (!cur.isEmpty()) {
                out.push_back({cur, false});
                cur.clear();
            }
            QString lit(c);
            ++i;
            while (i < n) {
                const QChar d = sql.at(i);
                lit += d;
                ++i;
                if (d == c) {
                    if (i < n && sql.at(i) == c) {  // doubled quote inside the literal
                        lit += c;
                        ++i;
                        continue;
                    }
                    break;
                }
            }
            out.push_back({lit, true});
        } else {
            cur += c;
            ++i;
        }
    }
    if (!cur.isEmpty())
        out.push_back({cur, false});
    return out;
}

QString join(const std::vector<Piece> &pieces)
{
    QString s;
    for (const auto &p : pieces)
        s += p.text;
    return s;
}

// #...# date literals in plain runs become quoted canonical dates.
void translateDateLiterals(std::vector<Piece> &pieces)
{
    std::vector<Piece> out;
    for (auto &p : pieces) {
        if (p.quoted || !p.text.contains(QLatin1Char('#'))) {
            out.push_back(p);
            continue;
        }
        QString plain;
        int i = 0;
        const QString &t = p.text;
        while (i < t.size()) {
            if (t.at(i) == QLatin1Char('#')) {
                const int end = t.indexOf(QLatin1Char('#'), i + 1);
                QDateTime dt;
                if (end < 0 || !parseDateText(t.mid(i + 1, end - i - 1), &dt))
                    throw HbError(kErrDatabase, QStringLiteral("日付の指定が不正です: %1").arg(t.mid(i)));
                if (!plain.isEmpty())
                    out.push_back({plain, false});
                plain.clear();
                out.push_back({QLatin1Char('\'') + canonicalDateText(dt) + QLatin1Char('\''), true});
                i = end + 1;
            } else {
                plain += t.at(i);
                ++i;
            }
        }
        if (!plain.isEmpty())
            out.push_back({plain, false});
    }
    pieces.swap(out);
}

// The file database's * wildcard at either end of a LIKE pattern.
void translateLikeWildcards(std::vector<Piece> &pieces)
{
    static const QRegularExpression likeAtEnd(QStringLiteral("\\bLIKE\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (size_t k = 1; k < pieces.size(); ++k) {
        Piece &p = pieces[k];
        if (!p.quoted || p.text.size() < 2 || pieces[k - 1].quoted)
            continue;
        if (!likeAtEnd.match(pieces[k - 1].text).hasMatch())
            continue;
        QString inner = p.text.mid(1, p.text.size() - 2);
        if (inner.startsWith(QLatin1Char('*')))
            inner[0] = QLatin1Char('%');
        if (inner.endsWith(QLatin1Char('*')))
            inner[inner.size() - 1] = QLatin1Char('%');
        p.text = p.text.at(0) + inner + p.text.at(0);
    }
}

// Every division real: integer columns would otherwise divide as integers.
void translateDivision(std::vector<Piece> &pieces)
{
    for (auto &p : pieces) {
        if (!p.quoted)
            p.text.replace(QLatin1Char('/'), QStringLiteral("*1.0/"));
    }
}

// Index in the joined text of a keyword at parenthesis depth 0 outside quotes, or -1.
int findKeyword(const std::vector<Piece> &pieces, const QString &keyword, int from = 0)
{
    const QRegularExpression re(QStringLiteral("\\b%1\\b").arg(keyword), QRegularExpression::CaseInsensitiveOption);
    int pos = 0;
    int depth = 0;
    for (const auto &p : pieces) {
        if (p.quoted) {
            pos += p.text.size();
            continue;
        }
        for (int i = 0; i < p.text.size(); ++i) {
            const QChar c = p.text.at(i);
            if (c == QLatin1Char('('))
                ++depth;
            else if (c == QLatin1Char(')'))
                --depth;
            else if (depth == 0 && pos + i >= from) {
                const auto m = re.match(p.text, i, QRegularExpression::NormalMatch,
                                        QRegularExpression::AnchorAtOffsetMatchOption);
                if (m.hasMatch())
                    return pos + i;
            }
        }
        pos += p.text.size();
    }
    return -1;
}

// Splits an assignment list "a.c = x, d = y" at top-level commas outside quotes.
QStringList splitTopLevel(const QString &text)
{
    QStringList parts;
    QString cur;
    int depth = 0;
    for (const auto &p : splitQuoted(text)) {
        if (p.quoted) {
            cur += p.text;
            continue;
        }
        for (QChar c : p.text) {
            if (c == QLatin1Char('('))
                ++depth;
            if (c == QLatin1Char(')'))
                --depth;
            if (c == QLatin1Char(',') && depth == 0) {
                parts << cur;
                cur.clear();
            } else {
                cur += c;
            }
        }
    }
    parts << cur;
    return parts;
}

QString bareColumn(const QString &target)
{
    QString t = target.trimmed();
    const int dot = t.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 ? t.mid(dot + 1) : t;
}

// UPDATE a INNER JOIN b ON cond SET a.c = expr [WHERE w]  ->  correlated sub-queries;
// rows of a without a match keep their values.
bool translateJoinUpdate(QString &sql)
{
    static const QRegularExpression head(
        QStringLiteral("^\\s*UPDATE\\s+(\\w+)\\s+INNER\\s+JOIN\\s+(\\w+)\\s+ON\\s+"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = head.match(sql);
    if (!m.hasMatch())
        return false;
    const QString a = m.captured(1);
    const QString b = m.captured(2);
    const auto pieces = splitQuoted(sql);
    const int setPos = findKeyword(pieces, QStringLiteral("SET"), m.capturedEnd());
    if (setPos < 0)
        return false;
    const int wherePos = findKeyword(pieces, QStringLiteral("WHERE"), setPos);
    const QString cond = sql.mid(m.capturedEnd(), setPos - m.capturedEnd()).trimmed();
    const QString assigns = wherePos < 0 ? sql.mid(setPos + 3) : sql.mid(setPos + 3, wherePos - setPos - 3);
    const QString where = wherePos < 0 ? QString() : sql.mid(wherePos + 5).trimmed();
    QStringList sets;
    for (const QString &as : splitTopLevel(assigns)) {
        const int eq = as.indexOf(QLatin1Char('='));
        if (eq < 0)
            return false;
        sets << QStringLiteral("%1 = (SELECT %2 FROM %3 WHERE %4 LIMIT 1)")
                    .arg(bareColumn(as.left(eq)), as.mid(eq + 1).trimmed(), b, cond);
    }
    QString out = QStringLiteral("UPDATE %1 SET %2 WHERE EXISTS (SELECT 1 FROM %3 WHERE %4)")
                      .arg(a, sets.join(QStringLiteral(", ")), b, cond);
    if (!where.isEmpty())
        out += QStringLiteral(" AND (%1)").arg(where);
    sql = out;
    return true;
}

// UPDATE t SET t.c = x  ->  UPDATE t SET c = x (the file kind rejects qualified targets).
void translateQualifiedSet(QString &sql)
{
    static const QRegularExpression head(QStringLiteral("^\\s*UPDATE\\s+\\w+\\s+"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!head.match(sql).hasMatch())
        return;
    const auto pieces = splitQuoted(sql);
    const int setPos = findKeyword(pieces, QStringLiteral("SET"));
    if (setPos < 0)
        return;
    const int wherePos = findKeyword(pieces, QStringLiteral("WHERE"), setPos);
    const int start = setPos + 3;
    const int end = wherePos < 0 ? sql.size() : wherePos;
    QStringList out;
    for (const QString &as : splitTopLevel(sql.mid(start, end - start))) {
        const int eq = as.indexOf(QLatin1Char('='));
        if (eq < 0) {
            out << as;
            continue;
        }
        out << QLatin1Char(' ') + bareColumn(as.left(eq)) + QStringLiteral(" =") + as.mid(eq + 1);
    }
    sql = sql.left(start) + out.join(QLatin1Char(',')) + (wherePos < 0 ? QString() : sql.mid(end));
}

}  // namespace

QString sqlQuote(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString translateSql(const QString &sql, DbKind kind)
{
    auto pieces = splitQuoted(sql);
    translateDateLiterals(pieces);
    translateLikeWildcards(pieces);

    static const QRegularExpression deleteStar(QStringLiteral("^(\\s*DELETE)\\s+\\w+\\s*\\.\\s*\\*\\s+(FROM\\s)"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (!pieces.empty() && !pieces.front().quoted)
        pieces.front().text.replace(deleteStar, QStringLiteral("\\1 \\2"));

    if (kind != DbKind::File)
        return join(pieces);

    translateDivision(pieces);
    QString out = join(pieces);
    if (!translateJoinUpdate(out))
        translateQualifiedSet(out);
    return out;
}

}  // namespace hb
