#include "ui/inspector/PathControlView.h"

#include "ui/views/FlatButton.h"

#include <QDir>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <algorithm>

namespace {

const char* const kComponentPathProperty = "componentPath";

// A button reads '&' as a mnemonic: names are shown as they are.
void showComponentText(QToolButton& button, QString text)
{
    button.setText(text.replace(u'&', QStringLiteral("&&")));
}

} // namespace

PathControlView::PathControlView(QWidget* parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    setObjectName(QStringLiteral("itemPathView"));
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    auto* ellipsis = new QLabel(QStringLiteral("…"), this);
    ellipsis->hide();
    m_ellipsis = ellipsis;
    m_layout->addWidget(m_ellipsis);
    m_layout->addStretch(1);
    // The path never widens the inspector: it elides instead.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QString PathControlView::componentPath(const QToolButton* button)
{
    return button ? button->property(kComponentPathProperty).toString() : QString();
}

void PathControlView::setPath(const QString& path)
{
    m_path = path;
    setAccessibleName(path);
    setToolTip(path);
    qDeleteAll(m_buttons);
    qDeleteAll(m_separators);
    m_buttons.clear();
    m_separators.clear();
    if (path.isEmpty())
        return;
    const QString clean = QDir::cleanPath(path);
    QStringList components = clean.split(u'/', Qt::SkipEmptyParts);
    components.prepend(QStringLiteral("/"));
    QString prefix;
    for (const QString& component : std::as_const(components)) {
        prefix = prefix.isEmpty() ? component : (prefix == QStringLiteral("/") ? prefix + component : prefix + u'/' + component);
        if (!m_buttons.isEmpty()) {
            auto* separator = new QLabel(QStringLiteral("›"), this);
            separator->setTextFormat(Qt::PlainText);
            m_layout->insertWidget(m_layout->count() - 1, separator);
            m_separators.append(separator);
        }
        auto* button = new FlatButton(this);
        button->setObjectName(QStringLiteral("pathComponentButton"));
        button->setFocusPolicy(Qt::TabFocus);
        showComponentText(*button, component);
        button->setAccessibleName(component);
        button->setToolTip(prefix);
        button->setProperty(kComponentPathProperty, prefix);
        button->installEventFilter(this);
        m_layout->insertWidget(m_layout->count() - 1, button);
        m_buttons.append(button);
    }
    elide();
}

void PathControlView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    elide();
}

void PathControlView::elide()
{
    if (m_buttons.isEmpty()) {
        m_ellipsis->hide();
        return;
    }
    QToolButton& name = *m_buttons.last();
    showComponentText(name, name.accessibleName());
    int needed = 0;
    for (const QToolButton* button : std::as_const(m_buttons))
        needed += button->sizeHint().width();
    for (const QWidget* separator : std::as_const(m_separators))
        needed += separator->sizeHint().width();
    // Button i goes with the separator after it; the last button always
    // stays. Once one is hidden, the ellipsis needs its room too.
    qsizetype hidden = 0;
    const int withEllipsis = width() - m_ellipsis->sizeHint().width();
    while (hidden + 1 < m_buttons.size() && needed > (hidden == 0 ? width() : withEllipsis)) {
        needed -= m_buttons[hidden]->sizeHint().width() + m_separators[hidden]->sizeHint().width();
        ++hidden;
    }
    // A name too long for the whole width gives up its start too, behind
    // the one ellipsis that stands for everything left out.
    const bool nameFits = needed <= (hidden == 0 ? width() : withEllipsis);
    if (!nameFits) {
        const int padding = name.sizeHint().width() - name.fontMetrics().horizontalAdvance(name.accessibleName());
        showComponentText(name, name.fontMetrics().elidedText(name.accessibleName(), Qt::ElideLeft, std::max(0, width() - padding)));
    }
    for (qsizetype index = 0; index < m_buttons.size(); ++index) {
        m_buttons[index]->setVisible(index >= hidden);
        if (index < m_separators.size())
            m_separators[index]->setVisible(index >= hidden);
    }
    m_ellipsis->setVisible(hidden > 0 && nameFits);
}

bool PathControlView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick)
        if (auto* button = qobject_cast<QToolButton*>(watched); button && m_buttons.contains(button)) {
            Q_EMIT componentDoubleClicked(componentPath(button));
            return true;
        }
    return QWidget::eventFilter(watched, event);
}
