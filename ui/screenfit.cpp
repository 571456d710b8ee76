#include "ui/screenfit.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

namespace {
constexpr int kDesignedWidthPx = 847;
constexpr int kDesignedHeightPx = 675;
constexpr int kLargestMinimumWidthPx = 800;
constexpr int kLargestMinimumHeightPx = 560;
constexpr int kSatelliteGapPx = 4; // between the serial settings window and what it must not cover

QRect testAvailableGeometry;

// A page's scroll area asks for all of its content, so that the window's preferred size is
// the size at which nothing needs scrolling.
class PageScrollArea : public QScrollArea
{
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        if (!widget())
            return QScrollArea::sizeHint();
        const QSize content = widget()->sizeHint().expandedTo(widget()->minimumSizeHint());
        const int frame = 2 * frameWidth();
        return content.expandedTo(widget()->minimumSize()) + QSize(frame, frame);
    }
};

QTabWidget *onlyTabWidget(QWidget *page)
{
    QLayout *layout = page->layout();
    if (!layout || layout->count() != 1)
        return nullptr;
    return qobject_cast<QTabWidget *>(layout->itemAt(0)->widget());
}

void wrapPage(QWidget *page)
{
    const QList<QWidget *> loose =
        page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);

    // Both are children of the page before anything moves, so every widget stays in the same
    // window and keeps its place in the focus chain.
    auto *area = new PageScrollArea(page);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    auto *content = new QWidget(area);
    area->setWidget(content);
    // The tab page draws the background, as it did before.
    content->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);

    if (QLayout *layout = page->layout())
        content->setLayout(layout); // takes the layout and its widgets from the page
    for (QWidget *child : loose) {
        if (child->parentWidget() != page || child->isWindow())
            continue;
        const QRect geometry = child->geometry();
        child->setParent(content);
        child->setGeometry(geometry);
    }
    content->setMinimumSize(page->minimumSize());
    page->setMinimumSize(0, 0);

    auto *frame = new QVBoxLayout(page);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(area);
}

// Layouts built or filled in code settle through posted events, and a scroll area does not pass
// its content's hints on at all. Settles every layout now, the innermost first, so that the
// window's hints are those of its finished pages.
void settleLayouts(QWidget *window)
{
    window->ensurePolished();
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (auto it = widgets.crbegin(); it != widgets.crend(); ++it) {
        if (dynamic_cast<PageScrollArea *>(*it))
            (*it)->updateGeometry();
        if (QLayout *layout = (*it)->layout()) {
            layout->invalidate();
            layout->activate();
        }
    }
    if (QLayout *layout = window->layout()) {
        layout->invalidate();
        layout->activate();
    }
}

QRect fitInside(QRect rect, const QRect &bounds)
{
    rect.moveLeft(qMax(bounds.left(), qMin(rect.left(), bounds.right() + 1 - rect.width())));
    rect.moveTop(qMax(bounds.top(), qMin(rect.top(), bounds.bottom() + 1 - rect.height())));
    return rect;
}

// The frame the window manager adds, known once it has framed the window (zero before).
QSize frameExtent(const QWidget *window)
{
    return window->frameGeometry().size() - window->geometry().size();
}

QScreen *screenOf(const QWidget *widget)
{
    QScreen *screen = widget->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

// Refits once after the first show, when the frame the window manager added is known.
class RefitOnShow : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            QPointer<QWidget> window = static_cast<QWidget *>(watched);
            QTimer::singleShot(0, window, [window] {
                if (window && !frameExtent(window).isNull())
                    ScreenFit::fitToScreen(window);
            });
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }
};
// A wheel turned over a value box the user is not working in scrolls its page: the box ignores
// it, and an ignored wheel event goes on to the box's parents, the page's scroll area among them.
class WheelToPage : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget *>(watched)->hasFocus()) {
            event->ignore();
            return true;
        }
        return false;
    }
};
} // namespace

namespace ScreenFit {
QRect availableGeometry(const QScreen *screen)
{
    return testAvailableGeometry.isEmpty() ? screen->availableGeometry() : testAvailableGeometry;
}

void setAvailableGeometryForTests(const QRect &geometry)
{
    testAvailableGeometry = geometry;
}

QSize designedSize()
{
    return {kDesignedWidthPx, kDesignedHeightPx};
}

void wrapPages(QTabWidget *tabs)
{
    for (int index = 0; index < tabs->count(); ++index) {
        QWidget *page = tabs->widget(index);
        if (QTabWidget *inner = onlyTabWidget(page))
            wrapPages(inner);
        else
            wrapPage(page);
    }
}

void scrollByWheel(QWidget *owner, const QList<QWidget *> &pages)
{
    auto *filter = new WheelToPage(owner);
    for (QWidget *page : pages) {
        QList<QWidget *> boxes;
        for (QComboBox *box : page->findChildren<QComboBox *>())
            boxes.append(box);
        for (QAbstractSpinBox *box : page->findChildren<QAbstractSpinBox *>())
            boxes.append(box);
        for (QWidget *box : qAsConst(boxes)) {
            // The wheel no longer gives the focus; a click or the Tab key does.
            box->setFocusPolicy(Qt::StrongFocus);
            box->installEventFilter(filter);
        }
    }
}

QScrollArea *pageScrollArea(const QWidget *widget)
{
    for (QWidget *parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        if (auto *area = dynamic_cast<PageScrollArea *>(parent))
            return area;
    }
    return nullptr;
}

void fitToScreen(QWidget *window)
{
    const bool framed = !frameExtent(window).isNull();
    const QRect available = availableGeometry(screenOf(window));
    settleLayouts(window);
    const QSize room = available.size() - frameExtent(window);
    // Smaller than that, the pages would show too little of themselves to be worked in.
    window->setMinimumSize(QSize(kLargestMinimumWidthPx, kLargestMinimumHeightPx).boundedTo(room));
    QSize preferred = window->sizeHint().expandedTo(designedSize());
    // Where the screen is too small, the pages scroll that way and their scroll bars take room.
    const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, window);
    if (preferred.height() > room.height())
        preferred.rwidth() += bar;
    if (preferred.width() > room.width())
        preferred.rheight() += bar;
    window->resize(preferred.boundedTo(room).expandedTo(window->minimumSize()));

    QRect frame(QPoint(), window->size() + frameExtent(window));
    frame.moveCenter(available.center());
    window->move(fitInside(frame, available).topLeft());
    if (!framed && !window->isVisible())
        window->installEventFilter(new RefitOnShow(window));
}

void placeBeside(QWidget *satellite, const QWidget *anchor, const QList<QWidget *> &uncovered)
{
    QScreen *screen = screenOf(anchor);
    // Before its first show the satellite has no screen of its own yet.
    satellite->winId();
    if (QWindow *handle = satellite->windowHandle())
        handle->setScreen(screen);
    const QRect available = availableGeometry(screen);
    const QRect beside = anchor->frameGeometry();
    const QSize size = satellite->frameGeometry().size();

    const QRect right(QPoint(beside.right() + 1 + kSatelliteGapPx, beside.top()), size);
    const QRect left(QPoint(beside.left() - kSatelliteGapPx - size.width(), beside.top()), size);
    for (const QRect &place : {right, left}) {
        if (available.contains(place)) {
            satellite->move(place.topLeft());
            return;
        }
    }

    // No room beside: over the anchor's right side, below its bars.
    int top = beside.top();
    for (const QWidget *bar : uncovered) {
        if (bar && bar->isVisible())
            top = qMax(top, bar->mapToGlobal(QPoint(0, bar->height())).y() + kSatelliteGapPx);
    }
    const QRect over(QPoint(beside.right() + 1 - kSatelliteGapPx - size.width(), top), size);
    satellite->move(fitInside(over, available).topLeft());
}
} // namespace ScreenFit
