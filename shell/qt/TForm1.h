// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: menus, toolbar, the provider panel with its list, the
// page area and the status bar. Every command calls the main controller.

#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

#include "shell/core/Platform.h"

class QAction;
class QLabel;
class QListWidget;
class QSplitter;
class QToolButton;
class QWidget;

namespace zorbinta {
class MainController;
}  // namespace zorbinta

namespace zorbinta::qt {

class FramePlacement;

class TForm1 final : public QMainWindow, public MainWindowView {
    Q_OBJECT
public:
    TForm1();

    // Puts the page area right of the splitter.
    void setPageArea(QWidget* pageArea);
    // Wires every command to the main window's controller; errors go to messages.
    void attach(MainController& controller, MessageBox& messages);

    void setBounds(const Rect& bounds) override;
    void setStatusText(int panel, const std::string& text) override;
    void setProviderPanelWidth(int width) override;
    void setProviderList(const std::vector<std::string>& items) override;
    void setBackEnabled(bool enabled) override;
    void setForwardEnabled(bool enabled) override;
    void setChangesEnabled(bool enabled) override;
    void setExportEnabled(bool enabled) override;
    void closeWindow() override;

    // By their names: N2 ... N25, ToolButton1 ... ToolButton6. Печать (Print1)
    // and Сохранить как PDF (PdfSave1) are the desktop's own, named apart
    // from the commands both programs share: the program wires them
    // to the page's printing.
    QAction* command(const QString& name) const;
    QListWidget* providerList() const { return list_; }
    QWidget* providerPanel() const { return panel_; }
    QLabel* statusPanel(int panel) const { return status_[panel]; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The mouse's own back and forward buttons anywhere in the window.
    bool historyButton(QObject* watched, QEvent* event);

private:
    QAction* addCommand(const QString& name, const QString& text);
    // F6: from the page to the provider list while it is shown, and back.
    void focusNextPane();
    // The panels' widths for the font in use.
    void fitToFont();
    void run(const std::function<void(MainController&)>& handler);
    void clickList(int row);

    MainController* controller_ = nullptr;
    MessageBox* messages_ = nullptr;
    bool started_ = false;
    QWidget* panel_ = nullptr;
    QWidget* panelHeader_ = nullptr;
    bool maximized_ = false;  // asked to be, where the compositor places windows
    int panelWidth_ = 1;      // as the controller set it: hidden at first
    QListWidget* list_ = nullptr;
    QToolButton* closePanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QWidget* pageArea_ = nullptr;
    QLabel* status_[2] = {nullptr, nullptr};
    FramePlacement* placement_ = nullptr;
};

}  // namespace zorbinta::qt
