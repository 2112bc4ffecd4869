#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <functional>

// Plays the user inside a modal window's own event loop: once the window is
// shown, act runs (for example filling a field and pressing a save button).
class ModalUser : public QObject
{
public:
    ModalUser(QWidget &window, std::function<void()> act)
    {
        connect(&m_timer, &QTimer::timeout, this, [this, &window, act] {
            if (!window.isVisible())
                return;
            m_timer.stop();
            act();
        });
        m_timer.start(0);
    }

private:
    QTimer m_timer;
};

// Answers the next message box with button, while context lasts; keeps its text.
inline void answerMessageBox(QObject *context, QMessageBox::StandardButton button, QString *text)
{
    auto *timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, button, text] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->deleteLater();
        *text = box->text();
        box->button(button)->click();
    });
    timer->start(10);
}
