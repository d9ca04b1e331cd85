// The fuzzing checks: the kept corpus passes them, and they catch what they are there to catch.

#include "oracle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

std::string check(const char *target, const std::string &input)
{
    return hbfuzz::checkByName(target)(reinterpret_cast<const uint8_t *>(input.data()), input.size());
}

TEST(FuzzCorpus, EveryKeptInputPasses)
{
    const QDir corpus(QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/corpus"));
    int files = 0;
    for (const char *target : {"translator", "number", "date"}) {
        const QDir dir(corpus.filePath(QString::fromLatin1(target)));
        for (const QFileInfo &f : dir.entryInfoList(QDir::Files)) {
            QFile file(f.absoluteFilePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            EXPECT_EQ(check(target, bytes.toStdString()), "") << target << ": " << f.fileName().toStdString();
            ++files;
        }
    }
    EXPECT_GT(files, 30);
}

TEST(FuzzCorpus, TheTranslatorCheckSeesEachKindOfProtectedPiece)
{
    // Inputs the translator handles, and how the check judges them.
    const struct {
        const char *input;  // first character: 0 file, 1 server
        bool passes;
    } cases[] = {
        {"1SELECT 1 -- #x", true},
        {"0SELECT `a#b` FROM T /* #c# */", true},
        {"1SELECT * FROM T WHERE A LIKE '*x*'", true},
        {"0UPDATE A INNER JOIN B ON A.I=B.I AND B.N='x' SET A.X=B.X", true},
        {"1SELECT * FROM T WHERE A=#2024/1/1#'x'", true},
        {"0SELECT 1//2", true},
        {"1SELECT * FROM T WHERE A=#x#", true},  // refused whole
    };
    for (const auto &c : cases)
        EXPECT_EQ(check("translator", c.input).empty(), c.passes) << c.input << check("translator", c.input);
}

TEST(FuzzCorpus, TheComparisonCatchesLostAndAddedPieces)
{
    const struct {
        const char *in;
        const char *out;
        bool passes;
    } cases[] = {
        {"SELECT 'a' -- c", "SELECT 'a' -- c", true},
        {"SELECT 'a' -- c", "SELECT 'a' -- d", false},
        {"SELECT 'C:\\t'", "SELECT 'C:\t'", false},
        {"UPDATE T SET x'a=b'", "UPDATE T SET x'a =b'", false},
        {"SELECT 1 -- #x", "SELECT 1 -- 'x'", false},
        {"SELECT `a b`", "SELECT `ab`", false},
        {"SELECT 1//2", "SELECT 1*1.0/*1.0/2", false},           // a comment appeared
        {"SELECT #2024/1/1#'x'", "SELECT '2024-01-01 00:00:00''x'", false},  // two texts ran together
        {"SELECT #2024/1/1#'x'", "SELECT '2024-01-01 00:00:00' 'x'", true},
        {"SELECT * FROM T WHERE N LIKE '*a*'", "SELECT * FROM T WHERE N LIKE '%a%'", true},
        {"SELECT * FROM T WHERE N = '*a*'", "SELECT * FROM T WHERE N = '%a%'", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hbfuzz::compareProtected(c.in, c.out).empty(), c.passes) << c.in << " -> " << c.out;
}

TEST(FuzzCorpus, NumberAndDateChecksPassWhatTheParsersAccept)
{
    for (const char *n : {"1,000", "-0", "1e308", "abc", "", "1e-400"})
        EXPECT_EQ(check("number", n), "") << n;
    for (const char *d : {"2024/02/29", "2023/02/29", "2024-05-01 23:59:59", "x"})
        EXPECT_EQ(check("date", d), "") << d;
}

}  // namespace
