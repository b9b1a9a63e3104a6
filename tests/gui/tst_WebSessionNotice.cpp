// What the user is told when a web auto-login session could not do all its
// work: a text for every reason, with the detail worked in.

#include <QSet>
#include <QtTest>

#include "Lockwyn.WebSessionNotice.h"

using namespace Lockwyn;

namespace {

// A finished session as the library reports it.
class TFinishedSession final : public IWebAutoLoginSession
{
public:
    TFinishedSession(TWebSessionProblem problem, const QString& detail)
        : FProblem(problem), FDetail(detail)
    {
    }
    std::shared_ptr<IWebFormAnalyzerResult> GetAnalyzerResult() override { return nullptr; }
    TWebSessionState GetState() override { return TWebSessionState::wssDone; }
    TWebSessionProblem GetProblem() override { return FProblem; }
    QString GetProblemDetail() override { return FDetail; }

private:
    TWebSessionProblem FProblem;
    QString FDetail;
};

QString Notice(TWebSessionProblem problem, const QString& detail = {})
{
    TFinishedSession session(problem, detail);
    return WebSessionNoticeText(session);
}

} // namespace

class TestWebSessionNotice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nothingToTell();
    void everyProblemHasItsText();
    void detailIsWorkedIn_data();
    void detailIsWorkedIn();
};

void TestWebSessionNotice::nothingToTell()
{
    QCOMPARE(Notice(TWebSessionProblem::wspNone, QStringLiteral("ignored")), QString());
}

void TestWebSessionNotice::everyProblemHasItsText()
{
    QSet<QString> texts;
    for (TWebSessionProblem problem :
         {TWebSessionProblem::wspNotWebAddress, TWebSessionProblem::wspBrowserCannotFill,
          TWebSessionProblem::wspNoBrowserCanFill, TWebSessionProblem::wspBrowserFailed,
          TWebSessionProblem::wspPageNotLoaded, TWebSessionProblem::wspOtherSite,
          TWebSessionProblem::wspNoLoginForm})
        texts.insert(Notice(problem, QStringLiteral("detail")));
    QCOMPARE(texts.size(), 7);
    QVERIFY(!texts.contains(QString()));
}

void TestWebSessionNotice::detailIsWorkedIn_data()
{
    QTest::addColumn<TWebSessionProblem>("problem");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("shown");

    // The browser by its program's name, not its folder.
    QTest::newRow("browser that cannot fill")
        << TWebSessionProblem::wspBrowserCannotFill << "/usr/lib/firefox-esr/firefox-esr"
        << "opened in firefox-esr,";
    QTest::newRow("other site") << TWebSessionProblem::wspOtherSite << "evil.example"
                                << "another site, evil.example, so";
    QTest::newRow("page not loaded")
        << TWebSessionProblem::wspPageNotLoaded << "net::ERR_NAME_NOT_RESOLVED"
        << "(net::ERR_NAME_NOT_RESOLVED)";
    QTest::newRow("browser failed")
        << TWebSessionProblem::wspBrowserFailed << "the browser has ended"
        << "(the browser has ended)";
}

void TestWebSessionNotice::detailIsWorkedIn()
{
    QFETCH(TWebSessionProblem, problem);
    QFETCH(QString, detail);
    QFETCH(QString, shown);
    const QString text = Notice(problem, detail);
    QVERIFY2(text.contains(shown), qPrintable(text));
    QVERIFY(!text.contains(QLatin1String("%s")));
}

QTEST_GUILESS_MAIN(TestWebSessionNotice)
#include "tst_WebSessionNotice.moc"
