#pragma once

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

// Plays the user in an open panel's copy dialog: notes the name it proposes,
// picks the filter `filter` rows down with the keyboard, notes the name then
// and saves with Return (or cancels, when the dialog refuses that name).
class CopyDialogUser : public QObject
{
public:
    explicit CopyDialogUser(int filter)
    {
        connect(&m_timer, &QTimer::timeout, this, [this, filter] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (m_saved) {
                // A name the dialog refuses leaves it open: then the user gives up.
                if (dialog == m_saved)
                    dialog->reject();
                m_timer.stop();
                return;
            }
            if (!dialog)
                return;
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            filters = dialog->nameFilters();
            proposed = name->text();
            for (int i = 0; i < filter; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            afterFilter = name->text();
            m_saved = dialog;
            QTest::keyClick(name, Qt::Key_Return);
        });
        m_timer.start(0);
    }
    QStringList filters;
    QString proposed;
    QString afterFilter;

private:
    QTimer m_timer;
    QFileDialog *m_saved = nullptr;
};
