#pragma once

// Runs a script in a browser page and waits for its answer.

#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

inline QVariant evaluate(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        qWarning("script did not answer");
    return result;
}
