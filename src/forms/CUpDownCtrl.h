#pragma once
// An up-down control: two stacked arrow buttons that step an integer position
// within a range, optionally attached to an edit field (its buddy) whose text
// shows the position. Before each step the control reports the proposed change
// through `deltaPos`; a receiver may replace the step or refuse it. The new
// position is then clamped to the range (no wrapping).

#include <QWidget>
#include <vector>

class QLineEdit;
class QTimer;

// The change a step proposes; receivers of `deltaPos` may alter `delta` or
// set `cancel`.
struct UpDownChange {
    int pos = 0;    // position before the step
    int delta = 0;  // proposed change: positive up, negative down
    bool cancel = false;
};

// After `seconds` of holding an arrow, each repeat steps by `increment`.
struct UpDownAccel {
    int seconds = 0;
    int increment = 1;
};

class CUpDownCtrl : public QWidget {
    Q_OBJECT

public:
    explicit CUpDownCtrl(QWidget* parent = nullptr);

    void setRange(int lower, int upper);
    int lower() const { return m_nLower; }
    int upper() const { return m_nUpper; }
    int pos() const { return m_nPos; }
    // Sets the position, clamped to the range; with buddy-int the buddy shows
    // it. Sends no `deltaPos`.
    void setPos(int pos);

    // Attaches the edit field. With `alignRight` the control moves to the
    // buddy's right edge and the buddy gives up that width, so the pair keeps
    // the buddy's original outer rectangle.
    void setBuddy(QLineEdit* buddy, bool alignRight);
    QLineEdit* buddy() const { return m_pBuddy; }
    // When set, every step writes the position into the buddy as a plain
    // integer, and a step starts from the buddy's number when it holds one.
    void setBuddyInt(bool on) { m_bBuddyInt = on; }
    // When set, the up and down arrow keys in the buddy step the control.
    void setArrowKeys(bool on) { m_bArrowKeys = on; }
    // Default: 1 at once, 5 after 2 s, 20 after 5 s of holding.
    void setAccel(std::vector<UpDownAccel> accel);

    // One step as a click on the up (true) or down arrow makes it.
    void step(bool up);

signals:
    // Sent before every step, with the direct connection only.
    void deltaPos(UpDownChange& change);
    // Sent after a step that changed the position.
    void positionChanged(int pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void repeatStep();
    int currentIncrement() const;
    void syncFromBuddy();
    void writeBuddy();

    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    QLineEdit* m_pBuddy = nullptr;
    bool m_bBuddyInt = false;
    bool m_bArrowKeys = false;
    std::vector<UpDownAccel> m_accel;
    int m_nPressed = 0;  // +1 up arrow held, -1 down arrow held, 0 none
    int m_nHeldMs = 0;
    QTimer* m_pRepeat = nullptr;
};
