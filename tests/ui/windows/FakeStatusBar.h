#pragma once
// A system tray for tests: it may be missing, and it records the icons it
// shows and every image they are given.
#include "ui/windows/StatusBar.h"

#include <QList>

class FakeStatusBar : public StatusBar {
public:
    class Item : public StatusItem {
    public:
        Item(FakeStatusBar& bar, const QIcon& image) : m_bar(bar), m_image(image) { ++m_bar.shown; }
        ~Item() override { --m_bar.shown; }
        QIcon image() const override { return m_image; }
        void setImage(const QIcon& image) override
        {
            m_image = image;
            ++m_bar.imageChanges;
        }

    private:
        FakeStatusBar& m_bar;
        QIcon m_image;
    };

    bool isAvailable() const override { return available; }
    std::unique_ptr<StatusItem> addStatusItem(const QIcon& image, QMenu* menu) override
    {
        ++added;
        lastMenu = menu;
        return std::make_unique<Item>(*this, image);
    }

    bool available = true;
    int added = 0;
    int shown = 0;
    int imageChanges = 0;
    QMenu* lastMenu = nullptr;
};
