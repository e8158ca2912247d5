// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object of the desktop program. Every handler runs its
// work guarded already; this is the last line behind them, so that no error
// can ever unwind through the toolkit's event loop.

#include <QApplication>

namespace zorbinta::qt {

class DesktopApplication final : public QApplication {
public:
    DesktopApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zorbinta::qt
