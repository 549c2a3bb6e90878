#include "forms/CUpDownCtrl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>
#include <algorithm>

namespace {

// Auto-repeat: the first repeat after the initial delay, then at the rate.
constexpr int RepeatDelayMs = 400;
constexpr int RepeatRateMs = 100;
// The control overlaps the buddy's border by this much when aligned to it.
constexpr int BuddyBorder = 2;

}  // namespace

CUpDownCtrl::CUpDownCtrl(QWidget* parent)
    : QWidget(parent), m_accel{{0, 1}, {2, 5}, {5, 20}}, m_pRepeat(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    connect(m_pRepeat, &QTimer::timeout, this, &CUpDownCtrl::repeatStep);
}

void CUpDownCtrl::setRange(int lower, int upper) {
    m_nLower = std::min(lower, upper);
    m_nUpper = std::max(lower, upper);
    m_nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
}

void CUpDownCtrl::setPos(int pos) {
    m_nPos = std::clamp(pos, m_nLower, m_nUpper);
    writeBuddy();
}

void CUpDownCtrl::setBuddy(QLineEdit* buddy, bool alignRight) {
    if (m_pBuddy != nullptr) {
        m_pBuddy->removeEventFilter(this);
    }
    m_pBuddy = buddy;
    if (buddy == nullptr) {
        return;
    }
    buddy->installEventFilter(this);
    if (alignRight) {
        const QRect r = buddy->geometry();
        const int w = std::min(width(), r.width());
        buddy->setGeometry(r.x(), r.y(), r.width() - w + BuddyBorder, r.height());
        setGeometry(r.right() + 1 - w, r.y(), w, r.height());
    }
}

void CUpDownCtrl::setAccel(std::vector<UpDownAccel> accel) {
    std::sort(accel.begin(), accel.end(),
              [](const UpDownAccel& a, const UpDownAccel& b) { return a.seconds < b.seconds; });
    m_accel = std::move(accel);
}

int CUpDownCtrl::currentIncrement() const {
    int increment = 1;
    for (const UpDownAccel& a : m_accel) {
        if (m_nHeldMs >= a.seconds * 1000) {
            increment = a.increment;
        }
    }
    return increment;
}

void CUpDownCtrl::syncFromBuddy() {
    if (!m_bBuddyInt || m_pBuddy == nullptr) {
        return;
    }
    bool ok = false;
    const int value = m_pBuddy->text().trimmed().toInt(&ok);
    // A label or an out-of-range number leaves the control's own position.
    if (ok && value >= m_nLower && value <= m_nUpper) {
        m_nPos = value;
    }
}

void CUpDownCtrl::writeBuddy() {
    if (m_bBuddyInt && m_pBuddy != nullptr) {
        m_pBuddy->setText(QString::number(m_nPos));
    }
}

void CUpDownCtrl::step(bool up) {
    if (!isEnabled()) {
        return;
    }
    syncFromBuddy();
    UpDownChange change{m_nPos, up ? currentIncrement() : -currentIncrement(), false};
    emit deltaPos(change);
    if (change.cancel) {
        return;
    }
    const long long wanted = static_cast<long long>(m_nPos) + change.delta;
    const int next = static_cast<int>(std::clamp<long long>(wanted, m_nLower, m_nUpper));
    if (next == m_nPos) {
        return;
    }
    m_nPos = next;
    writeBuddy();
    emit positionChanged(m_nPos);
}

void CUpDownCtrl::repeatStep() {
    if (m_nPressed == 0) {
        m_pRepeat->stop();
        return;
    }
    m_nHeldMs += m_pRepeat->interval();
    m_pRepeat->setInterval(RepeatRateMs);
    step(m_nPressed > 0);
}

void CUpDownCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_nPressed = event->position().y() < height() / 2.0 ? 1 : -1;
    m_nHeldMs = 0;
    update();
    step(m_nPressed > 0);
    m_pRepeat->start(RepeatDelayMs);
}

// A double click is a second press, not something of its own.
void CUpDownCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CUpDownCtrl::mouseReleaseEvent(QMouseEvent* event) {
    m_nPressed = 0;
    m_pRepeat->stop();
    update();
    QWidget::mouseReleaseEvent(event);
}

bool CUpDownCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pBuddy && m_bArrowKeys && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
            m_nHeldMs = 0;
            step(key->key() == Qt::Key_Up);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CUpDownCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = halves[i];
        const bool sunken = (i == 0 && m_nPressed > 0) || (i == 1 && m_nPressed < 0);
        button.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(2, 1, -2, -1);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}
