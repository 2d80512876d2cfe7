#include "toolkit/qt/embedded_frame.h"

#include "toolkit/texts.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace toolkit::qt {
namespace {

constexpr int kBorderPx = 1;
constexpr const char* kFrameProperty = "bounzo_embedded_frame";
constexpr const char* kCloseButtonProperty = "bounzo_caption_close";

bool takes_tab_focus(const QWidget& w) {
    return (w.focusPolicy() & Qt::TabFocus) && w.isEnabled() && w.isVisible();
}

}  // namespace

EmbeddedFrame::EmbeddedFrame(QWidget& content, QWidget& owner) : QWidget(&owner), content_(&content) {
    caption_ = new QLabel(content.windowTitle(), this);
    caption_->setAlignment(Qt::AlignCenter);
    QFont bold = QApplication::font();
    bold.setBold(true);
    caption_->setFont(bold);
    auto* close = new QToolButton(this);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setAutoRaise(true);
    close->setProperty(kCloseButtonProperty, true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setAccessibleName(texts::kClose);
    connect(close, &QToolButton::clicked, this, [this] {
        if (content_) content_->close();
    });

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(6, 2, 2, 2);
    bar->addWidget(caption_, 1);
    bar->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kBorderPx, 0, kBorderPx, kBorderPx);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(bar);
    // The content's own window flags go: it becomes a plain child widget.
    const bool was_hidden = content.isHidden();
    content.setParent(this, Qt::Widget);
    layout->addWidget(&content);
    content.setProperty(kFrameProperty, QVariant::fromValue(static_cast<QObject*>(this)));
    content.installEventFilter(this);
    // A content unloaded before its owner leaves nothing behind.
    connect(&content, &QObject::destroyed, this, &QObject::deleteLater);
    QWidget::hide();
    if (!was_hidden) appear();
}

EmbeddedFrame::~EmbeddedFrame() {
    if (!content_) return;
    content_->removeEventFilter(this);
    content_->setProperty(kFrameProperty, QVariant());
    content_->hide();
    content_->setParent(nullptr);
}

EmbeddedFrame* EmbeddedFrame::of(const QWidget& content) {
    return static_cast<EmbeddedFrame*>(content.property(kFrameProperty).value<QObject*>());
}

bool EmbeddedFrame::is_close_button(const QWidget& w) { return w.property(kCloseButtonProperty).toBool(); }

bool EmbeddedFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched != content_) return false;
    switch (event->type()) {
    // Sent when the program shows or hides the content itself, whatever the frame's state.
    case QEvent::ShowToParent: appear(); break;
    case QEvent::HideToParent: QWidget::hide(); break;
    case QEvent::WindowTitleChange: caption_->setText(content_->windowTitle()); break;
    default: break;
    }
    return false;
}

void EmbeddedFrame::appear() {
    adjustSize();
    centre();
    raise();
    show();
    // The keyboard goes to the content, as to a window just opened.
    const QWidget* focus = window()->focusWidget();
    if (!focus || !content_->isAncestorOf(focus)) focusNextPrevChild(true);
}

void EmbeddedFrame::centre() {
    const QRect area = parentWidget()->rect();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void EmbeddedFrame::resizeEvent(QResizeEvent*) { centre(); }

bool EmbeddedFrame::focusNextPrevChild(bool next) {
    if (!content_) return false;
    std::vector<QWidget*> chain;
    for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
        if (content_->isAncestorOf(w) && takes_tab_focus(*w)) chain.push_back(w);
    }
    if (chain.empty()) return false;
    const auto at = std::find(chain.begin(), chain.end(), window()->focusWidget());
    const auto count = static_cast<std::ptrdiff_t>(chain.size());
    std::ptrdiff_t index = at == chain.end() ? (next ? 0 : count - 1) : (at - chain.begin()) + (next ? 1 : -1);
    index = (index + count) % count;
    chain[static_cast<std::size_t>(index)]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void EmbeddedFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window).darker(115));
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace toolkit::qt
