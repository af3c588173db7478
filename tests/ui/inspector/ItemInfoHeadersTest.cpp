// The headers of the inspector: the delay's slider and field with their one
// save after a burst, the conditional item's mode, and the file header's
// preview, path and reveal.
#include "InspectorTestCase.h"
#include "engine/SystemItemData.h"
#include "foundation/MHItemDataKeys.h"
#include "keelhouse/KeptDesktopEntries.h"
#include "model/DBConditionalPreviousItem.h"
#include "model/DBDelayItem.h"
#include "model/DBFileItem.h"
#include "support/EndToEnd.h"
#include "support/TestHome.h"
#include "ui/inspector/ConditionalPreviousItemInfoViewController.h"
#include "ui/inspector/DelayItemInfoViewController.h"
#include "ui/inspector/FileItemInfoViewController.h"
#include "ui/inspector/FilePreviewView.h"
#include "ui/inspector/PathControlView.h"
#include "ui/views/ChoicePopUpButton.h"
#include "ui/views/ElidingLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QToolButton>
#include <sys/stat.h>

namespace {

class ItemInfoHeadersTest : public InspectorTestCase {
protected:
    template <typename Header>
    std::unique_ptr<Header> makeHeader(ManagedObject* item)
    {
        auto header = std::make_unique<Header>();
        header->setCommonObjects(common);
        header->setUserDefaults(settings.get());
        header->loadView();
        header->setRepresentedObject(RepresentedObject::fromObject(item));
        header->show();
        return header;
    }

    DBLoginGroup* group() { return context->getOrCreateApplicationLoginGroup(); }

    void SetUp() override
    {
        InspectorTestCase::SetUp();
        QLocale::setDefault(QLocale::c());
        settings->setBool("Tweaking.DefaultValues.IsDoubleClickToShowPathsEnabled", true);
    }
};

TEST_F(ItemInfoHeadersTest, ABurstOfDelayChangesSavesOnceAfterTheLast)
{
    auto* item = static_cast<DBDelayItem*>(editing->createDelayItemsFromData({ 5 }, group(), 0).first());
    auto header = makeHeader<DelayItemInfoViewController>(item);
    EXPECT_EQ(header->valueSlider()->value(), 5);
    EXPECT_EQ(header->valueTextField()->text(), "5");
    startFresh();
    for (int value = 6; value <= 30; ++value)
        header->valueSlider()->setValue(value);
    EXPECT_EQ(item->itemDelayValue(), 30);
    EXPECT_EQ(header->valueTextField()->text(), "30");
    EXPECT_EQ(undo().undoActionName(), "Change Delay Value");
    EXPECT_EQ(saves, 0) << "not during the burst";
    EXPECT_TRUE(QTest::qWaitFor([&] { return saves > 0; }));
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(header->isSaveScheduled());

    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(header->valueSlider()->value(), 29) << "undo reaches the controls";
}

TEST_F(ItemInfoHeadersTest, TypedDelaysAreCheckedAndStoredAsTyped)
{
    auto* item = static_cast<DBDelayItem*>(editing->createDelayItemsFromData({ 5 }, group(), 0).first());
    auto header = makeHeader<DelayItemInfoViewController>(item);
    QLineEdit* field = header->valueTextField();
    for (const QString refused : { "-1", "abc", "inf", "nan", "" }) {
        field->setText(refused);
        Q_EMIT field->editingFinished();
        EXPECT_EQ(item->itemDelayValue(), 5) << refused.toStdString();
        EXPECT_EQ(field->text(), "5");
    }
    field->setText("2.5");
    Q_EMIT field->editingFinished();
    EXPECT_EQ(item->itemDelayValue(), 2.5);
    field->setText("1200.5");
    Q_EMIT field->editingFinished();
    EXPECT_EQ(item->itemDelayValue(), 1200.5) << "the slider's range limits the slider only";
    EXPECT_EQ(field->text(), "1200.5");
    EXPECT_EQ(header->valueSlider()->value(), DelayItemInfoViewController::maximumDelay);
}

TEST_F(ItemInfoHeadersTest, ADelaySetByAScreenReaderIsStoredWhenTheFocusLeaves)
{
    auto* item = static_cast<DBDelayItem*>(editing->createDelayItemsFromData({ 5 }, group(), 0).first());
    auto header = makeHeader<DelayItemInfoViewController>(item);
    QApplication::setActiveWindow(header.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(header.get()));
    QLineEdit* field = header->valueTextField();
    field->setFocus();
    ASSERT_TRUE(field->hasFocus());
    startFresh();
    QAccessibleEditableTextInterface* text = QAccessible::queryAccessibleInterface(field)->editableTextInterface();
    ASSERT_NE(text, nullptr);
    text->replaceText(0, int(field->text().size()), QStringLiteral("42"));
    EXPECT_EQ(item->itemDelayValue(), 5) << "not while the field has the focus";

    header->valueSlider()->setFocus();
    EXPECT_EQ(item->itemDelayValue(), 42);
    EXPECT_EQ(header->valueSlider()->value(), 42);
    EXPECT_EQ(undo().undoActionName(), "Change Delay Value");
    EXPECT_TRUE(QTest::qWaitFor([&] { return saves > 0; }));
    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(item->itemDelayValue(), 5) << "one undo step";

    // Typed text is stored once, not again when the field reports it finished.
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QStringLiteral("7"));
    header->valueSlider()->setFocus();
    EXPECT_EQ(item->itemDelayValue(), 7);
    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(item->itemDelayValue(), 5);
}

TEST_F(ItemInfoHeadersTest, TouchingTheSliderEndsTheTyping)
{
    auto* item = static_cast<DBDelayItem*>(editing->createDelayItemsFromData({ 5 }, group(), 0).first());
    auto header = makeHeader<DelayItemInfoViewController>(item);
    QApplication::setActiveWindow(header.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(header.get()));
    header->valueTextField()->setFocus();
    ASSERT_TRUE(header->valueTextField()->hasFocus());
    header->valueSlider()->setValue(9);
    EXPECT_TRUE(header->valueSlider()->hasFocus());
}

TEST_F(ItemInfoHeadersTest, TheConditionalModeIsOneStepAndOneSave)
{
    auto* item = static_cast<DBConditionalPreviousItem*>(editing->createConditionalPreviousItemsFromData({ 0 }, group(), 0).first());
    auto header = makeHeader<ConditionalPreviousItemInfoViewController>(item);
    startFresh();
    QComboBox* mode = header->modeView();
    mode->setCurrentIndex(1);
    EXPECT_EQ(item->itemModeValue(), ConditionalPreviousItemModeIfNotLaunched);
    EXPECT_EQ(undo().undoActionName(), "Change conditional item mode");
    EXPECT_EQ(saves, 1);
    context->processPendingChanges();
    undo().undo();
    EXPECT_EQ(mode->currentIndex(), 0);
}

class FileItemInfoTest : public ItemInfoHeadersTest {
protected:
    QString folder() const { return freshTestFolder("files"); }
};

TEST_F(FileItemInfoTest, RegularImagesArePreviewedAndEverythingElseShowsItsIcon)
{
    const QString base = folder();
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(base + "/picture.png"));
    const QImage thumbnail = FilePreviewView::thumbnailForPath(base + "/picture.png", 48);
    EXPECT_EQ(thumbnail.size(), QSize(48, 24));

    ASSERT_EQ(::mkfifo(QFile::encodeName(base + "/pipe.png").constData(), 0600), 0);
    EXPECT_TRUE(FilePreviewView::thumbnailForPath(base + "/pipe.png", 48).isNull()) << "a FIFO is never opened";
    writeFile(base + "/fake.png", "not an image");
    EXPECT_TRUE(FilePreviewView::thumbnailForPath(base + "/fake.png", 48).isNull());
    EXPECT_TRUE(FilePreviewView::thumbnailForPath("/dev/zero", 48).isNull());
    EXPECT_TRUE(FilePreviewView::thumbnailForPath(base, 48).isNull());

    DBLoginItem* item = editing->createFileItemsFromData({ base + "/picture.png" }, group(), 0).first();
    auto header = makeHeader<FileItemInfoViewController>(item);
    EXPECT_TRUE(header->iconPreviewView()->isShowingThumbnail());
    header->setRepresentedObject(RepresentedObject::fromObject(editing->createFileItemsFromData({ base + "/pipe.png" }, group(), 0).first()));
    EXPECT_FALSE(header->iconPreviewView()->isShowingThumbnail());
}

TEST_F(FileItemInfoTest, AMissingPathShowsAnEmptyPreviewAndCannotBeRevealed)
{
    const QString gone = folder() + "/gone & \"quoted\" $HOME.desktop";
    DBLoginItem* item = editing->createFileItemsFromData({ gone }, group(), 0).first();
    QList<QUrl> opened;
    auto header = makeHeader<FileItemInfoViewController>(item);
    header->setFileRevealer(FileRevealer(QDBusConnection::sessionBus(), [&opened](const QUrl& url) {
        opened.append(url);
        return true;
    }));
    EXPECT_TRUE(header->iconPreviewView()->pixmap().isNull());
    const QList<QToolButton*>& buttons = header->itemPathView()->componentButtons();
    ASSERT_FALSE(buttons.isEmpty());
    EXPECT_EQ(buttons.first()->text(), "/");
    EXPECT_EQ(buttons.last()->text(), "gone && \"quoted\" $HOME.desktop") << "no mnemonic";
    EXPECT_EQ(PathControlView::componentPath(buttons.last()), gone);
    EXPECT_FALSE(header->revealPathInFinder(gone));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(FileItemInfoTest, ADoubleClickRevealsTheComponentUnlessTheSettingIsOff)
{
    const QString base = folder();
    writeFile(base + "/program", "#!/bin/sh\n");
    QList<QUrl> opened;
    auto header = makeHeader<FileItemInfoViewController>(editing->createFileItemsFromData({ base + "/program" }, group(), 0).first());
    // No file manager on the test bus: the folder is opened instead.
    header->setFileRevealer(FileRevealer(QDBusConnection::sessionBus(), [&opened](const QUrl& url) {
        opened.append(url);
        return true;
    }));
    QToolButton* last = header->itemPathView()->componentButtons().last();
    QTest::mouseDClick(last, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !opened.isEmpty(); }));
    EXPECT_EQ(opened, QList<QUrl>({ QUrl::fromLocalFile(base) }));

    settings->setBool("Tweaking.DefaultValues.IsDoubleClickToShowPathsEnabled", false);
    EXPECT_FALSE(header->revealPathInFinder(base + "/program"));
}

TEST_F(FileItemInfoTest, ItemsOfTheSessionListAreShownToo)
{
    const QVariantMap record { { MHItemDataKeys::name, "Tool" }, { MHItemDataKeys::description, "A <i>tool</i>" },
                               { MHItemDataKeys::path, "/usr/bin/env" }, { MHItemDataKeys::icon, "utilities-terminal" } };
    auto header = makeHeader<FileItemInfoViewController>(nullptr);
    header->setRepresentedObject(QVariant::fromValue(SystemItemData(record)));
    EXPECT_EQ(header->itemPath(), "/usr/bin/env");
    EXPECT_EQ(header->itemDisplayNameView()->text(), "Tool");
    EXPECT_EQ(header->itemDetailsView()->text(), "A <i>tool</i>");
    EXPECT_EQ(header->itemDetailsView()->textFormat(), Qt::PlainText);
    header->setRepresentedObject(QVariant());
    EXPECT_TRUE(header->itemPath().isEmpty());
    EXPECT_TRUE(header->itemPathView()->componentButtons().isEmpty());
}

// A desktop entry shows what it runs under its name; Lanternwick's copy of a
// session entry shows the entry the user took over, not the copy's folder.
TEST_F(FileItemInfoTest, DesktopEntriesShowTheirCommandAndCopiesTheEntryTakenOver)
{
    const QString files = folder();
    const QString origin = files + "/autostart/clock.desktop";
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Clock\nExec=xclock -digital -update 1\n";
    writeFile(origin, entry);
    KeptDesktopEntries kept(files + "/AutostartEntries");
    const std::optional<QString> copy = kept.keep(origin, entry);
    ASSERT_TRUE(copy);
    auto header = makeHeader<FileItemInfoViewController>(nullptr);

    header->setRepresentedObject(QVariant::fromValue(SystemItemData(QVariantMap { { MHItemDataKeys::name, "Clock" }, { MHItemDataKeys::path, *copy } })));
    EXPECT_EQ(header->itemCommandView()->fullText(), "xclock -digital -update 1");
    EXPECT_FALSE(header->itemCommandView()->isHidden());
    EXPECT_EQ(header->itemPathView()->path(), origin);
    EXPECT_EQ(header->itemPath(), *copy);

    const QString document = files + "/notes.txt";
    writeFile(document, "notes\n");
    header->setRepresentedObject(QVariant::fromValue(SystemItemData(QVariantMap { { MHItemDataKeys::path, document } })));
    EXPECT_TRUE(header->itemCommandView()->isHidden());
    EXPECT_EQ(header->itemPathView()->path(), document);
}

TEST(PathControlViewTest, ANarrowPathGivesUpItsLeadingFoldersFirst)
{
    QWidget window;
    PathControlView& path = *new PathControlView(&window);
    path.setPath("/home/someone/.local/share/Lanternwick/AutostartEntries/blueman.desktop");
    const QList<QToolButton*>& buttons = path.componentButtons();
    ASSERT_EQ(buttons.size(), 8);
    EXPECT_GT(path.sizeHint().width(), 0);
    EXPECT_EQ(path.sizePolicy().horizontalPolicy(), QSizePolicy::Ignored) << "it never widens the window";

    path.resize(buttons.last()->sizeHint().width() + buttons[6]->sizeHint().width() + 40, 30);
    window.show();
    EXPECT_FALSE(buttons.first()->isVisibleTo(&path));
    EXPECT_TRUE(buttons.last()->isVisibleTo(&path));
    EXPECT_TRUE(buttons[6]->isVisibleTo(&path));

    path.resize(10, 30);
    EXPECT_TRUE(buttons.last()->isVisibleTo(&path)) << "the file's own name stays";
    EXPECT_FALSE(buttons[6]->isVisibleTo(&path));

    path.resize(2000, 30);
    for (QToolButton* button : buttons)
        EXPECT_TRUE(button->isVisibleTo(&path));
}

} // namespace
