// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window (TForm1) without its widgets: activation, the provider
// panel and list, every menu item and toolbar button, Back and Forward.

#include <array>
#include <string>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/History.h"
#include "catalogue/core/ProgramFiles.h"
#include "pages/core/BrowserPane.h"
#include "pages/core/PageTable.h"
#include "pages/core/PageZoom.h"
#include "router/core/Router.h"
#include "shell/core/Platform.h"
#include "update/core/UpdateDialog.h"

namespace zorbinta {

class CatalogueLoader;

// The application's title, which the main window and the message boxes bear.
inline constexpr const char* kApplicationTitle = "Зорбинта";
inline constexpr Rect kDesignBounds{199, 109, 696, 480};
inline constexpr int kPanelHidden = 1;
inline constexpr int kPanelShown = 200;

// What the main window learns from the rest of the program.
class ProgramState {
public:
    virtual ~ProgramState() = default;
    // The version record of the catalogue the last load read; empty without one.
    virtual std::string catalogueVersion() const = 0;
    // Once after a download that loaded: whether it replaced base.db.
    virtual DownloadOutcome takeDownloadOutcome() = 0;
};

class MainController : public HistoryButtons {
public:
    struct Services {
        BrowserPane& pane;
        MainWindowView& view;
        WorkArea& workArea;
        SaveDialog& saveDialog;
        MessageBox& messages;
        DialogRunner& dialogs;
        ProgramState& program;
        // The list of the page on show, which the router keeps.
        ShownList& shownList;
    };

    MainController(Catalogue& catalogue, CatalogueLoader& loader, History& history,
                   const Services& services, ProgramFiles files)
        : catalogue_(catalogue),
          loader_(loader),
          history_(history),
          s_(services),
          files_(std::move(files)) {
        s_.shownList.onChange([this](bool hasList) { s_.view.setExportEnabled(hasList); });
    }

    // The main window is shown for the first time: the first activation,
    // then the start page.
    void start();
    // OnActivate: load, order, history cleared, fit to the work area, status.
    void active();
    // The status texts from the current counts.
    void writeStatus();
    // Writes the start page into the pane at the command address without a
    // command; start() does it once, after the first activation, with the
    // activation's error when it failed.
    void writeStartPage(const std::string& loadError = {});
    // The start page's body as the last activation's load left the catalogue.
    std::string startPageBody(const std::string& loadError) const;
    std::string startPageBody() const { return startPageBody(lastLoadError_); }

    void N2Click();  // Файл → Сохранить
    void ToolButton1Click() { N2Click(); }
    void N4Click();           // Файл → Выход
    void N6Click();           // Поиск → Виртуалный сервер (waits)
    void ToolButton2Click();  // Поиск (does not wait)
    void N20Click();          // Поиск → Почти подходящие (waits)
    void N21Click();          // Поиск → Лучшие тарифы (waits)
    void N22Click();          // Поиск → Стоимость сайта (waits)
    void N8Click();           // show or hide the provider panel
    void ToolButton3Click() { N8Click(); }
    void BitBtn4Click() { N8Click(); }
    void N9Click();   // free hosting
    void N13Click();  // domains
    void N11Click();  // download dialog
    void ToolButton4Click() { N11Click(); }
    void N12Click();  // About box
    void N16Click();  // Сервис → Изменения каталога (waits)
    void N23Click();  // Показать → Главная страница (waits)
    void N25Click();  // Файл → Экспорт таблицы (only on a page with a list)
    void ToolButton5Click();  // Back
    void ToolButton6Click();  // Forward
    // Показать → zoom in, out, back to normal (N17, N18, N19): the pane, for the run.
    void N17Click();
    void N18Click();
    void N19Click();

    // The provider list: selection and click.
    void selectItem(int index) { selectedItem = index; }
    void click();

    // Whether the page on show has a list (Экспорт таблицы is enabled).
    bool hasList() const { return s_.shownList.hasList(); }
    // The name proposed for the page on show in a file of that extension,
    // and how it goes onto paper; for the desktop's print and PDF.
    std::string proposedPageFileName(const std::string& extension) const;
    Paper pagePaper() const;

    void setBackEnabled(bool enabled) override;
    void setForwardEnabled(bool enabled) override;

    // The window's state as the view shows it.
    std::array<std::string, 2> statusText;
    Rect bounds = kDesignBounds;
    int panelWidth = kPanelHidden;
    std::vector<std::string> listItems;
    int selectedItem = -1;
    bool backEnabled = false;
    bool forwardEnabled = false;
    // N16: only while the user's base.db.prev exists.
    bool changesEnabled = false;
    int zoomPercent = kNormalZoom;

private:
    void refreshChangesItem();
    void zoomTo(int percent);

    Catalogue& catalogue_;
    CatalogueLoader& loader_;
    History& history_;
    Services s_;
    ProgramFiles files_;
    // The message of the last activation's failed load; empty after one that loaded.
    std::string lastLoadError_;
};

}  // namespace zorbinta
