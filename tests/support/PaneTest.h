#pragma once
// A test of a window or pane: the service object on fakes with its live
// database, the test's own settings (with the factory values), texts and
// notification centre, a dialog presenter that answers as told, and a
// recorder of the help pages opened.
#include "shell/HelpOpener.h"
#include "support/ShellTest.h"
#include "texts/DialogPresenter.h"
#include "texts/LanternwickObject.h"
#include "texts/Localizator.h"
#include "ui/base/CommonObjects.h"
#include "ui/base/CommonObjectsHolder.h"

#include <QCoreApplication>
#include <QLocale>
#include <type_traits>

class AnsweringDialogPresenter : public DialogPresenter {
public:
    Answer runModal(const Request& request) override
    {
        requests.append(request);
        return { nextButton, false };
    }
    int nextButton = 0;
    QList<Request> requests;
};

class RecordingHelpOpener : public HelpOpener {
public:
    bool openUrl(const QUrl& url) override
    {
        urls.append(url);
        return true;
    }
    QList<QUrl> urls;
};

class PaneTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        QLocale::setDefault(QLocale::c());
        start();
        helpers->initializeUserDefaults();
        helpers->setHelpOpener(helpOpener);
        ASSERT_NE(helpers->managedObjectContext(), nullptr);
        texts.setUserDefaults(settings.get());
    }

    // Hands the test's services, and the common objects to a controller.
    template <typename Controller>
    void equip(Controller& controller)
    {
        if constexpr (std::is_base_of_v<CommonObjectsHolder, Controller>)
            controller.setCommonObjects(CommonObjects::fromHelpers(*helpers));
        controller.setUserDefaults(settings.get());
        controller.setNotificationCenter(&center);
        controller.setLocalizator(&texts);
    }

    static void processEvents()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }

    Localizator texts;
    AnsweringDialogPresenter dialogs;
    std::shared_ptr<RecordingHelpOpener> helpOpener = std::make_shared<RecordingHelpOpener>();
};
