#pragma once
// While a transfer, its pause or the device search runs, the window takes no
// input: the event loop stands still meanwhile, and whatever the user clicks
// or types queues up and would otherwise run afterwards, on settings that may
// have changed under it. For its lifetime an InputDiscarder drops every
// mouse, key, wheel and touch event of the application, except those for a
// modal box the operation shows (a question, an error) and its buttons. When
// it goes it first takes in and drops what queued up meanwhile.
//
//     void CSonaroView::onSend(int) {
//         InputDiscarder busy;
//         ...
//     }

#include <QObject>

class InputDiscarder final : public QObject {
public:
    InputDiscarder();
    ~InputDiscarder() override;
    InputDiscarder(const InputDiscarder&) = delete;
    InputDiscarder& operator=(const InputDiscarder&) = delete;

    // Brings the screen up to date before the event loop stands still
    // again, so that a box that has just closed leaves no hole in the
    // window for the length of a transfer. Input that came meanwhile is
    // dropped as always.
    void catchUp();

    // Whether `event` for `receiver` is input that must come to nothing now.
    static bool discards(const QObject* receiver, const QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
