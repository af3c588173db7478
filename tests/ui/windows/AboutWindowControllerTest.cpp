// The about window: the texts, the credits scrolling only while it is open
// and starting each pass from the lower edge, a hand-edited interval that
// cannot make it spin, and the acknowledgements opened where installed.
#include "support/PaneTest.h"

#include "ui/views/CreditsView.h"
#include "ui/windows/AboutWindowController.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVariantAnimation>

namespace {

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl& url) { urls.append(url); }
};

class AboutWindowTest : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        equip(about);
    }
    AboutWindowController about;
};

TEST_F(AboutWindowTest, ShowsVersionAndCopyright)
{
    about.window();
    EXPECT_EQ(about.versionString(), texts.versionStringTemplate().arg(helpers->applicationVersion(), helpers->applicationBuild()));
    EXPECT_EQ(about.window()->findChild<QLabel*>("versionLabel")->text(), about.versionString());
    EXPECT_EQ(about.window()->findChild<QLabel*>("copyrightLabel")->text(), helpers->applicationCopyright());
    EXPECT_GT(about.creditsView().textHeight(), 0);
}

TEST_F(AboutWindowTest, AScreenReaderReadsTheWholeCreditsWhileTheyScroll)
{
    about.showWindow();
    QAccessibleInterface* credits = QAccessible::queryAccessibleInterface(&about.creditsView());
    EXPECT_EQ(credits->text(QAccessible::Name), "Credits");
    ASSERT_NE(credits->textInterface(), nullptr);
    const QString text = credits->textInterface()->text(0, credits->textInterface()->characterCount());
    EXPECT_TRUE(text.contains("Design and development")) << text.toStdString();
    EXPECT_FALSE(text.contains("<")) << "read as text, not as its markup";
    about.close();
}

TEST_F(AboutWindowTest, CreditsScrollWhileOpenAndGoBackToTheLowerEdgeOnClose)
{
    CreditsView& credits = about.creditsView();
    EXPECT_FALSE(about.isCreditsAnimationActive());
    about.showWindow();
    EXPECT_TRUE(about.isCreditsAnimationActive());
    const qreal lowerEdge = credits.height() - credits.fadeHeightCompensation();
    EXPECT_EQ(credits.textTop(), lowerEdge);
    auto* animation = credits.findChild<QVariantAnimation*>();
    animation->setCurrentTime(animation->duration() / 2);
    EXPECT_LT(credits.textTop(), lowerEdge);

    about.close();
    EXPECT_FALSE(about.isCreditsAnimationActive());
    EXPECT_EQ(credits.textTop(), lowerEdge);

    about.showWindow();
    EXPECT_TRUE(about.isCreditsAnimationActive());
    EXPECT_EQ(credits.textTop(), lowerEdge);
}

TEST_F(AboutWindowTest, AnIntervalOfZeroOrLessIsClamped)
{
    for (const char* interval : { "0", "-5", "nan" }) {
        SCOPED_TRACE(interval);
        settings->setString("Tweaking.Timings.CreditsScrollAnimationInterval", interval);
        about.showWindow();
        EXPECT_GE(about.creditsView().findChild<QVariantAnimation*>()->duration(), int(CreditsView::minimumPassSeconds * 1000));
        about.close();
    }
}

TEST_F(AboutWindowTest, AcknowledgementsOpenFromTheResourcesAndNothingIsWritten)
{
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    const QString documents = testHome() + "/Documents";
    QDir().mkpath(documents);
    about.window()->findChild<QPushButton*>("acknowledgementsButton")->click();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(recorder.urls.size(), 1);
    EXPECT_EQ(recorder.urls.first().fileName(), "Acknowledgements.html");
    EXPECT_FALSE(recorder.urls.first().toLocalFile().startsWith(testHome()));
    EXPECT_TRUE(QDir(documents).isEmpty());
}

} // namespace

#include "AboutWindowControllerTest.moc"
