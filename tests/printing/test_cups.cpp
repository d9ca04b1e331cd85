// The real print path: the preview prints through the platform's print service to a private print
// server that scripts/test.sh starts (CUPS_SERVER, HB_TEST_CUPS_DIR). Each test adds a raw queue
// of its own, like the server's "hbtest", writing each job to a file. Where no such server runs,
// these tests skip; the PDF path stands.

#include "printing/fdlpreview.h"
#include "printing/fdlsetprintcopy.h"
#include "printing/printfixture.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QLineEdit>
#include <QThread>
#include <algorithm>

using namespace hbtest;

namespace {

// Runs a client program of the print server; true when it succeeds.
bool cupsClient(const QString &program, const QStringList &args, QString *out = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool ok = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (out)
        *out = QString::fromUtf8(p.readAllStandardOutput());
    return ok;
}

class Cups : public PrintFixture {
protected:
    void SetUp() override
    {
        PrintFixture::SetUp();
        serverDir_ = qEnvironmentVariable("HB_TEST_CUPS_DIR");
        if (qEnvironmentVariableIsEmpty("CUPS_SERVER") || serverDir_.isEmpty())
            GTEST_SKIP() << "no private print server (scripts/test.sh starts one): the printer path is not "
                            "tested here, the PDF path is";
        // A queue of this test's own, so tests that run at once do not meet.
        queue_ = QStringLiteral("hb_") + QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QFile::remove(outFile());
        if (!cupsClient(QStringLiteral("lpadmin"), {QStringLiteral("-p"), queue_, QStringLiteral("-E"), QStringLiteral("-v"),
                                                    QStringLiteral("hbfile:") + outFile(), QStringLiteral("-m"),
                                                    QStringLiteral("raw")}))
            GTEST_SKIP() << "the print server at " << qPrintable(qEnvironmentVariable("CUPS_SERVER"))
                         << " takes no new queue";
        hb::setPrinterSystem(nullptr);  // the platform's printers
        if (!hb::printers().printerNames().contains(queue_))
            GTEST_SKIP() << "the platform's printers do not list " << qPrintable(queue_);
        storeMargins(0.6 * 567, 1.29 * 567, hb::Value(queue_));
    }
    void TearDown() override
    {
        if (!queue_.isEmpty())
            cupsClient(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue_});
        PrintFixture::TearDown();
    }
    QString outFile() const { return serverDir_ + QStringLiteral("/out/") + queue_ + QStringLiteral(".out"); }
    // The numbers of the queue's jobs, done or not, as the server lists them.
    QList<int> jobs() const
    {
        QString listed;
        cupsClient(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), queue_},
                   &listed);
        QList<int> ids;
        for (const QString &line : listed.split(QLatin1Char('\n'))) {
            const QString id = line.section(QLatin1Char(' '), 0, 0);
            if (id.startsWith(queue_ + QLatin1Char('-')))
                ids << id.mid(queue_.size() + 1).toInt();
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    // Waits until the queue has written a whole PDF.
    bool waitForOutput() const
    {
        const QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            QFile f(outFile());
            if (f.open(QIODevice::ReadOnly)) {
                const QByteArray data = f.readAll();
                if (data.startsWith("%PDF") && data.trimmed().endsWith("%%EOF"))
                    return true;
            }
            QThread::msleep(100);
        }
        return false;
    }
    // The copies the job asked for, from the attributes the server keeps for it ("copies", an
    // IPP integer); -1 when they are not written within 30 s.
    int copiesOf(int job) const
    {
        QFile f(serverDir_ + QStringLiteral("/spool/c%1").arg(job, 5, 10, QLatin1Char('0')));
        const QDeadlineTimer deadline(30000);
        while (!f.exists() && !deadline.hasExpired())
            QThread::msleep(100);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray data = f.readAll();
        const QByteArray name = QByteArray("\x21\x00\x06", 3) + "copies" + QByteArray("\x00\x04", 2);
        const qsizetype at = data.indexOf(name);
        if (at < 0)
            return 1;  // not given: one
        const auto *v = reinterpret_cast<const unsigned char *>(data.constData() + at + name.size());
        return (v[0] << 24) | (v[1] << 16) | (v[2] << 8) | v[3];
    }
    QString serverDir_;
    QString queue_;
};

TEST_F(Cups, ThePageOnShowGoesToTheStoredPrinterAsOneJob)
{
    setTags(0, 30);
    const QList<int> before = jobs();
    hb::fdlPreview &f = openPreview(2);
    click(f.Command1[6]);
    click(f.Command1[1]);
    ASSERT_TRUE(waitForOutput()) << "no job reached " << qPrintable(outFile());
    EXPECT_EQ(jobs().size(), before.size() + 1);
    EXPECT_FALSE(QFileInfo::exists(dir.path("pdf")));
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_EQ(hb::AppTitle(), hb::kProgramTitle);
    if (haveTool("zbarimg") && haveTool("pdftoppm")) {
        std::vector<hb::PtagLabelRec> sheet2;
        for (int i = 24; i < 30; ++i)
            sheet2.push_back(tagLabel(i));
        const auto found = readSymbols({pdfPage(outFile(), 600)});
        EXPECT_EQ(found.at(0).join('\n').toStdString(), expectedSymbols(sheet2).join('\n').toStdString());
    }
}

TEST_F(Cups, CopiesFromTheCopiesDialogReachTheJob)
{
    setTags(0, 48);
    hb::gPageCount = 2;
    const QList<int> before = jobs();
    hb::fdlSetPrintCopy &d = hb::form<hb::fdlSetPrintCopy>();
    d.showModeless();
    ASSERT_TRUE(activate(&d));
    d.Option1[1]->click();
    d.txtDATA[0]->setText(QStringLiteral("1"));
    d.txtDATA[1]->setText(QStringLiteral("1"));
    d.txtDATA[2]->setText(QStringLiteral("3"));
    click(d.Command1[1]);
    ASSERT_TRUE(waitForOutput());
    const QList<int> after = jobs();
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(copiesOf(after.last()), 3);
    EXPECT_EQ(hb::printer().copies(), 1);
    EXPECT_FALSE(QFileInfo::exists(dir.path("pdf")));
}

}  // namespace
