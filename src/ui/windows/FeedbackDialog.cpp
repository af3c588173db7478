#include "ui/windows/FeedbackDialog.h"

#include "foundation/Log.h"
#include "texts/Localizator.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using Text = Localizator::WindowText;

namespace {

QPlainTextEdit* readOnlyText(const QString& name, const QString& title, const QString& text, QWidget* parent)
{
    auto* edit = new QPlainTextEdit(text, parent);
    edit->setObjectName(name);
    // Read by the title of its tab.
    edit->setAccessibleName(title);
    edit->setReadOnly(true);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    return edit;
}

} // namespace

FeedbackDialog::FeedbackDialog(const Localizator& texts, const QString& message, const QString& logs, const QString& database,
                               QWidget* parent)
    : QDialog(parent)
    , m_description(new QPlainTextEdit(message, this))
    , m_logs(readOnlyText(QStringLiteral("feedbackLogs"), texts.windowText(Text::FeedbackLogs), logs, this))
    , m_database(readOnlyText(QStringLiteral("feedbackDatabase"), texts.windowText(Text::FeedbackDatabase), database, this))
{
    setObjectName(QStringLiteral("feedbackDialog"));
    setWindowTitle(texts.windowText(Text::FeedbackTitle));
    auto* intro = new QLabel(texts.windowText(Text::FeedbackText), this);
    intro->setWordWrap(true);
    m_description->setObjectName(QStringLiteral("feedbackDescription"));
    m_description->setAccessibleName(intro->text());
    intro->setBuddy(m_description);
    auto* tabs = new QTabWidget(this);
    tabs->addTab(m_logs, m_logs->accessibleName());
    tabs->addTab(m_database, m_database->accessibleName());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(texts.windowText(Text::FeedbackCopy), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("feedbackCopyButton"));
    connect(copy, &QPushButton::clicked, this, &FeedbackDialog::copyReport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_description, 1);
    layout->addWidget(tabs, 3);
    layout->addWidget(buttons);
    resize(640, 520);
}

QString FeedbackDialog::report() const
{
    return QStringLiteral("%1\n\n%2%3").arg(m_description->toPlainText(), m_logs->toPlainText(), m_database->toPlainText());
}

void FeedbackDialog::copyReport() const
{
    LOG_VERBOSE("Copying the report for support...");
    QGuiApplication::clipboard()->setText(report());
}
