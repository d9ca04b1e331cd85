#include "core/sqltranslate.h"

#include "core/value.h"

#include <QRegularExpression>
#include <QStringList>
#include <vector>

namespace hb {

namespace {

// A statement cut into runs of plain SQL and protected pieces: quoted literals ('...' and
// "..."), back-quoted names and comments ("-- " to the end of the line, /* ... */), each with
// its delimiters. Nothing in a protected piece is ever rewritten. A piece left open at the end
// of the statement runs to its end. A backslash is an ordinary character in every piece, as it
// is on both backends (the server session runs without backslash escapes).
enum class SegmentKind { Plain, Literal, Name, Comment };

struct Segment {
    QString text;
    bool quoted = false;  // protected: a literal, a name or a comment
    SegmentKind kind = SegmentKind::Plain;
    bool closed = true;   // its closing delimiter is there
};

// "--" starts a comment only when a blank, a control character or the end follows: the same
// rule on both backends.
bool startsLineComment(const QString &sql, int i)
{
    if (i + 1 >= sql.size() || sql.at(i) != QLatin1Char('-') || sql.at(i + 1) != QLatin1Char('-'))
        return false;
    return i + 2 >= sql.size() || sql.at(i + 2).unicode() <= 0x20;
}

std::vector<Segment> splitQuoted(const QString &sql)
{
    std::vector<Segment> out;
    QString cur;
    const auto flushPlain = [&] {
        if (!cur.isEmpty()) {
            out.push_back({cur, false, SegmentKind::Plain});
            cur.clear();
        }
    };
    int i = 0;
    const int n = sql.size();
    while (i < n) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            flushPlain();
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql.at(j) == c) {
                    if (j + 1 < n && sql.at(j + 1) == c) {  // a doubled delimiter stands for itself
                        j += 2;
                        continue;
                    }
                    ++j;
                    closed = true;
                    break;
                }
                ++j;
            }
            out.push_back({sql.mid(i, j - i), true, c == QLatin1Char('`') ? SegmentKind::Name : SegmentKind::Literal, closed});
            i = j;
        } else if (startsLineComment(sql, i)) {
            flushPlain();
            int j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            out.push_back({sql.mid(i, j - i), true, SegmentKind::Comment});
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            flushPlain();
            const int e = sql.indexOf(QStringLiteral("*/"), i + 2);
            const int j = e < 0 ? n : e + 2;
            out.push_back({sql.mid(i, j - i), true, SegmentKind::Comment, e >= 0});
            i = j;
        } else {
            cur += c;
            ++i;
        }
    }
    flushPlain();
    return out;
}

QString join(const std::vector<Segment> &pieces)
{
    QString s;
    for (size_t k = 0; k < pieces.size(); ++k) {
        // Two literals side by side (a date literal written next to a quoted text) would read
        // as one text with a doubled quote: a blank keeps them apart.
        if (k > 0 && pieces[k].kind == SegmentKind::Literal && pieces[k - 1].kind == SegmentKind::Literal &&
            pieces[k - 1].text.endsWith(pieces[k].text.at(0)))
            s += QLatin1Char(' ');
        s += pieces[k].text;
    }
    return s;
}

// #...# date literals in plain runs become quoted canonical dates.
void translateDateLiterals(std::vector<Segment> &pieces)
{
    std::vector<Segment> out;
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
                    throw HbError(kErrDatabase, QStringLiteral("日付の指定が不正です。"));
                if (!plain.isEmpty())
                    out.push_back({plain, false});
                plain.clear();
                out.push_back({QLatin1Char('\'') + canonicalDateText(dt) + QLatin1Char('\''), true, SegmentKind::Literal});
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
void translateLikeWildcards(std::vector<Segment> &pieces)
{
    static const QRegularExpression likeAtEnd(QStringLiteral("\\bLIKE\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (size_t k = 1; k < pieces.size(); ++k) {
        Segment &p = pieces[k];
        if (p.kind != SegmentKind::Literal || !p.closed || p.text.size() < 2 || pieces[k - 1].quoted)
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
void translateDivision(std::vector<Segment> &pieces)
{
    for (auto &p : pieces) {
        if (p.quoted || !p.text.contains(QLatin1Char('/')))
            continue;
        QString out;
        for (int i = 0; i < p.text.size(); ++i) {
            if (p.text.at(i) != QLatin1Char('/')) {
                out += p.text.at(i);
                continue;
            }
            out += QStringLiteral("*1.0/");
            // "//" would otherwise become "/*1.0/", the start of a comment.
            if (i + 1 < p.text.size() && p.text.at(i + 1) == QLatin1Char('/'))
                out += QLatin1Char(' ');
        }
        p.text = out;
    }
}

// Index in the joined text of a keyword at parenthesis depth 0 outside quotes, or -1.
int findKeyword(const std::vector<Segment> &pieces, const QString &keyword, int from = 0)
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

// Where the "=" of an assignment stands (outside its protected pieces), or -1.
int assignmentEquals(const QString &assignment)
{
    int pos = 0;
    for (const auto &p : splitQuoted(assignment)) {
        if (!p.quoted) {
            const int eq = p.text.indexOf(QLatin1Char('='));
            if (eq >= 0)
                return pos + eq;
        }
        pos += p.text.size();
    }
    return -1;
}

// A target that is a plain column name, table-qualified or not.
bool plainTarget(const QString &target)
{
    static const QRegularExpression re(QStringLiteral("^\\s*(\\w+\\s*\\.\\s*)?\\w+\\s*$"));
    return re.match(target).hasMatch();
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
    // Its parts are moved about: a comment would swallow what comes after it.
    for (const auto &p : pieces) {
        if (p.kind == SegmentKind::Comment || !p.closed)
            return false;
    }
    const int setPos = findKeyword(pieces, QStringLiteral("SET"), m.capturedEnd());
    if (setPos < 0)
        return false;
    const int wherePos = findKeyword(pieces, QStringLiteral("WHERE"), setPos);
    const QString cond = sql.mid(m.capturedEnd(), setPos - m.capturedEnd()).trimmed();
    const QString assigns = wherePos < 0 ? sql.mid(setPos + 3) : sql.mid(setPos + 3, wherePos - setPos - 3);
    const QString where = wherePos < 0 ? QString() : sql.mid(wherePos + 5).trimmed();
    QStringList sets;
    for (const QString &as : splitTopLevel(assigns)) {
        const int eq = assignmentEquals(as);
        if (eq < 0 || !plainTarget(as.left(eq)))
            return false;
        // Parenthesised: a part that ends in "--" must not start a comment at the blank after it.
        sets << QStringLiteral("%1 = (SELECT (%2) FROM %3 WHERE (%4) LIMIT 1)")
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
        const int eq = assignmentEquals(as);
        if (eq < 0 || !plainTarget(as.left(eq))) {
            out << as;
            continue;
        }
        out << QLatin1Char(' ') + bareColumn(as.left(eq)) + QStringLiteral(" =") + as.mid(eq + 1);
    }
    sql = sql.left(start) + out.join(QLatin1Char(',')) + (wherePos < 0 ? QString() : sql.mid(end));
}

// The statement with every protected piece blanked out (same length), so that searches for
// keywords, commas and placeholders see plain SQL only.
QString masked(const QString &sql)
{
    QString out;
    for (const auto &p : splitQuoted(sql))
        out += p.quoted ? QString(p.text.size(), QLatin1Char('x')) : p.text;
    return out;
}

// Items of a list at parenthesis depth 0, with their offsets in the text.
std::vector<std::pair<int, QString>> topLevelItems(const QString &text)
{
    std::vector<std::pair<int, QString>> items;
    int depth = 0;
    int start = 0;
    for (int i = 0; i <= text.size(); ++i) {
        const QChar c = i < text.size() ? text.at(i) : QLatin1Char(',');
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && (depth == 0 || i == text.size())) {
            items.emplace_back(start, text.mid(start, i - start));
            start = i + 1;
        }
    }
    return items;
}

}  // namespace

QStringList placeholderColumns(const QString &sql, QString *table)
{
    static const QRegularExpression insertRe(
        QStringLiteral("^\\s*INSERT\\s+INTO\\s+(\\w+)\\s*\\(([\\w\\s,]*)\\)\\s*VALUES\\s*\\((.*)\\)\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression updateRe(QStringLiteral("^\\s*UPDATE\\s+(\\w+)\\s+SET\\s"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression setItemRe(QStringLiteral("^\\s*(?:\\w+\\s*\\.\\s*)?(\\w+)\\s*=\\s*\\?\\s*$"));
    const QString text = masked(sql);
    const int total = static_cast<int>(text.count(QLatin1Char('?')));
    QStringList cols;
    const auto addItem = [&cols](const QString &item, const QString &column) {
        if (!column.isEmpty() && item.trimmed() == QLatin1String("?"))
            cols << column;
        else
            for (int k = 0; k < item.count(QLatin1Char('?')); ++k)
                cols << QString();
    };
    if (const auto m = insertRe.match(text); m.hasMatch()) {
        QStringList names = m.captured(2).split(QLatin1Char(','));
        const auto values = topLevelItems(m.captured(3));
        if (values.size() != static_cast<size_t>(names.size()))
            return {};
        for (size_t i = 0; i < values.size(); ++i)
            addItem(values[i].second, names.at(static_cast<int>(i)).trimmed());
        if (table)
            *table = m.captured(1);
    } else if (const auto u = updateRe.match(text); u.hasMatch()) {
        const QString rest = text.mid(u.capturedEnd());
        static const QRegularExpression whereRe(QStringLiteral("\\bWHERE\\b"), QRegularExpression::CaseInsensitiveOption);
        int end = rest.size();
        int depth = 0;
        for (int i = 0; i < rest.size(); ++i) {
            if (rest.at(i) == QLatin1Char('('))
                ++depth;
            else if (rest.at(i) == QLatin1Char(')'))
                --depth;
            else if (depth == 0 && whereRe.match(rest, i, QRegularExpression::NormalMatch,
                                                 QRegularExpression::AnchorAtOffsetMatchOption).hasMatch()) {
                end = i;
                break;
            }
        }
        for (const auto &item : topLevelItems(rest.left(end))) {
            const auto s = setItemRe.match(item.second);
            if (s.hasMatch())
                cols << s.captured(1);
            else
                addItem(item.second, QString());
        }
        for (int k = 0; k < rest.mid(end).count(QLatin1Char('?')); ++k)
            cols << QString();
        if (table)
            *table = u.captured(1);
    } else {
        return {};
    }
    if (cols.size() != total)
        return {};
    return cols;
}

bool holdsSeveralStatements(const QString &sql)
{
    bool ended = false;
    for (const Segment &p : splitQuoted(sql)) {
        if (p.quoted) {
            if (ended && p.kind != SegmentKind::Comment)
                return true;
            continue;
        }
        for (const QChar c : p.text) {
            if (c == QLatin1Char(';'))
                ended = true;
            else if (ended && !c.isSpace())
                return true;
        }
    }
    return false;
}

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
