#include "core/textlimit.h"

#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QRegularExpression>
#include <QValidator>

namespace hb {

namespace {

// Refuses an edit by the user that makes the text longer than the limit and longer than it was;
// what the program puts into the box (setText, which leaves it unmodified) is taken as it is.
// A paste or an input method's text that does not fit is refused whole, never cut.
class CharacterLimitValidator : public QValidator {
public:
    CharacterLimitValidator(QLineEdit *box, int limit) : QValidator(box), box_(box), limit_(limit)
    {
        // The box already holds the edited text while it is validated: the length before the
        // edit is kept from here.
        connect(box, &QLineEdit::textChanged, this, [this](const QString &t) { before_ = characterCount(t); });
    }
    State validate(QString &input, int &) const override
    {
        const int n = characterCount(input);
        return !box_->isModified() || n <= limit_ || n <= before_ ? Acceptable : Invalid;
    }
    void setLimit(int limit) { limit_ = limit; }

private:
    QLineEdit *box_;
    int limit_;
    int before_ = 0;
};

// TABLE.COLUMN -> n of every VARCHAR(n) column of the schema files.
QHash<QString, int> schemaLengths()
{
    QHash<QString, int> out;
    static const QRegularExpression table(QStringLiteral("CREATE\\s+TABLE\\s+(\\w+)\\s*\\(([^;]*)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression column(QStringLiteral("(?:^|[(,])\\s*(\\w+)\\s+VARCHAR\\s*\\(\\s*(\\d+)\\s*\\)"),
                                           QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    for (const char *file : {":/db/data.sql", ":/db/master.sql", ":/db/work.sql", ":/db/ini.sql"}) {
        QFile f(QString::fromLatin1(file));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto t = table.globalMatch(text); t.hasNext();) {
            const auto tm = t.next();
            for (auto c = column.globalMatch(tm.captured(2)); c.hasNext();) {
                const auto cm = c.next();
                out.insert(tm.captured(1).toUpper() + QLatin1Char('.') + cm.captured(1).toUpper(), cm.captured(2).toInt());
            }
        }
    }
    return out;
}

}  // namespace

int characterCount(const QString &text)
{
    int n = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++n;
    }
    return n;
}

QString leftCharacters(const QString &text, int n)
{
    int i = 0;
    for (int count = 0; i < text.size() && count < n; ++count)
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 1;
    return text.left(i);
}

int columnLength(const QString &tableDotColumn)
{
    static const QHash<QString, int> lengths = schemaLengths();
    return lengths.value(tableDotColumn.toUpper(), 0);
}

void limitCharacters(QLineEdit *box, int limit)
{
    if (!box || limit <= 0)
        return;
    // The box's own maximum counts UTF-16 units and cuts what it sets: it stays at its default.
    box->setMaxLength(32767);
    if (auto *v = box->findChild<CharacterLimitValidator *>(QString(), Qt::FindDirectChildrenOnly))
        v->setLimit(limit);
    else
        box->setValidator(new CharacterLimitValidator(box, limit));
}

void limitToColumns(std::initializer_list<std::pair<QLineEdit *, const char *>> boxes)
{
    for (const auto &[box, column] : boxes)
        limitCharacters(box, columnLength(QString::fromLatin1(column)));
}

}  // namespace hb
