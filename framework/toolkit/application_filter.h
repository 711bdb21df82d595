// One event filter of a kind on the whole application, for the toolkit's parts that watch
// every event of a kind (the focus, the keys, the user's presses).
#pragma once

#include <QCoreApplication>
#include <QPointer>

// Installs a `Filter` on the application unless one is there: once per application, as the
// filter is the application's child and goes with it.
template <class Filter>
void ToolkitFilterApplicationEvents() {
    static QPointer<Filter> installed;
    if (installed || !QCoreApplication::instance()) return;
    installed = new Filter();
    installed->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(installed);
}
