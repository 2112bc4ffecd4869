#pragma once

#include <QMainWindow>

class QWebEngineView;

// The main window: one folder level of pages beside the browser.
class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);

    QWebEngineView *WebBrowser1 = nullptr;
};
