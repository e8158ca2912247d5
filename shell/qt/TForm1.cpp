// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/TForm1.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/qt/QtText.h"
#include "shell/core/MainCommands.h"
#include "shell/core/MainController.h"
#include "shell/qt/Pictures.h"
#include "shell/qt/WindowPlacement.h"

namespace zorbinta::qt {
namespace {

constexpr int kToolbarHeight = 36;
constexpr int kToolButtonHeight = 34;
constexpr int kUpdateButtonWidth = 101;
constexpr int kPanelHeaderHeight = 24;
constexpr int kSplitterWidth = 8;
constexpr int kStatusPanelWidth = 200;
constexpr int kListFontPixels = 13;

// The widest texts the status panels show: the counts have at most four digits.
const char* const kWidestStatusText[] = {"Хостинг-провайдеров:0000", "Тарифных планов:0000"};

// How wide a label like this one must be to show text whole in its font.
int widthToShow(const QLabel& like, const QString& text) {
    QLabel probe(text);
    probe.setFont(like.font());
    probe.setFrameStyle(like.frameStyle());
    return probe.sizeHint().width();
}

QFont listFont() {
    QFont font;
    font.setFamilies({"Courier New", "Liberation Mono", "DejaVu Sans Mono", "Noto Sans Mono"});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(kListFontPixels);
    return font;
}

}  // namespace

TForm1::TForm1() {
    setObjectName("Form1");
    setWindowTitle(kApplicationTitle);
    setWindowIcon(pictureIcon(Picture::Program));
    setGeometry(kDesignBounds.x, kDesignBounds.y, kDesignBounds.width, kDesignBounds.height);

    // Menus, in the order of the menu bar; "&" marks each one's Alt+letter.
    QMenu* file = menuBar()->addMenu("&Файл");
    file->setObjectName("N1");
    file->addAction(addCommand("N2", "&Сохранить"));
    file->addAction(addCommand("N25", "&Экспорт таблицы…"));
    file->addAction(addCommand("Print1", "&Печать…"));
    file->addAction(addCommand("PdfSave1", "Сохранить как P&DF…"));
    file->addSeparator()->setObjectName("N3");
    file->addAction(addCommand("N4", "&Выход"));
    QMenu* search = menuBar()->addMenu("&Поиск");
    search->setObjectName("N5");
    search->addAction(addCommand("N6", "&Виртуалный сервер"));
    search->addAction(addCommand("N20", "&Почти подходящие"));
    search->addAction(addCommand("N21", "&Лучшие тарифы"));
    search->addAction(addCommand("N22", "&Стоимость сайта"));
    QMenu* show = menuBar()->addMenu("По&казать");
    show->setObjectName("N7");
    show->addAction(addCommand("N8", "&Хостинг-провайдеры"));
    show->addAction(addCommand("N9", "&Бесплатный хостинг"));
    show->addAction(addCommand("N13", "&Регистрация доменов"));
    show->addAction(addCommand("N23", "&Главная страница"));
    show->addSeparator();
    show->addAction(addCommand("N17", "У&величить масштаб"));
    show->addAction(addCommand("N18", "У&меньшить масштаб"));
    show->addAction(addCommand("N19", "&Обычный масштаб"));
    QMenu* service = menuBar()->addMenu("&Сервис");
    service->setObjectName("N10");
    service->addAction(addCommand("N11", "&Обновление"));
    service->addAction(addCommand("N16", "&Изменения каталога"));
    menuBar()->addAction(addCommand("N12", "&О программе"));
    command("N2")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    command("N4")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    command("Print1")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    command("N6")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    // Ctrl+= too: the plus sign's own key without Shift, as browsers take it.
    command("N17")->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    command("N18")->setShortcuts(QKeySequence::ZoomOut);
    command("N19")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    command("N23")->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    // The toolbar: pictures with hints; only Back and Update show captions.
    QToolBar* bar = addToolBar("ToolBar1");
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setIconSize(QSize(kToolbarPictureSize, kToolbarPictureSize));
    bar->setFixedHeight(kToolbarHeight);
    struct Button {
        const char* name;
        const char* caption;
        const char* hint;
        Picture picture;
    };
    const Button buttons[] = {
        {"ToolButton5", "Назад", "Назад", Picture::Back},
        {"ToolButton6", nullptr, "Вперед", Picture::Forward},
        {nullptr, nullptr, nullptr, Picture::Close},
        {"ToolButton1", nullptr, "Сохранить страницу", Picture::Save},
        {"ToolButton3", nullptr, "Показать хостинг-провайдеров", Picture::Providers},
        {"ToolButton2", nullptr, "Поиск", Picture::Search},
        {nullptr, nullptr, nullptr, Picture::Close},
        {"ToolButton4", "Обновление", "Обновить базу данных через интернет", Picture::Update},
    };
    for (const Button& b : buttons) {
        if (b.name == nullptr) {
            bar->addSeparator();
            continue;
        }
        QAction* action = addCommand(b.name, b.caption ? b.caption : b.hint);
        action->setIcon(pictureIcon(b.picture));
        action->setToolTip(b.hint);
        bar->addAction(action);
        auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        tool->setObjectName(b.name);
        tool->setAutoRaise(true);
        tool->setMinimumHeight(kToolButtonHeight);
        tool->setToolButtonStyle(b.caption ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
        if (QString(b.name) == "ToolButton4") {
            // As wide as designed, or wider where the caption's font needs it.
            tool->setFixedWidth(qMax(kUpdateButtonWidth, tool->sizeHint().width()));
        }
    }
    command("ToolButton5")->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    command("ToolButton6")->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));

    // The provider panel: hidden (1 pixel) at start, never dragged wider.
    panel_ = new QWidget;
    panel_->setObjectName("Panel1");
    auto* panelLayout = new QVBoxLayout(panel_);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->setSpacing(0);
    auto* header = new QFrame;
    header->setObjectName("Panel2");
    header->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    header->setFixedHeight(kPanelHeaderHeight);
    auto* headerLayout = new QHBoxLayout(header);
    headerLayout->setContentsMargins(6, 0, 2, 0);
    auto* caption = new QLabel("Хостинг-провайдеры");
    caption->setObjectName("Panel2Caption");
    caption->setAccessibleName(caption->text());
    headerLayout->addWidget(caption, 1);
    closePanel_ = new QToolButton;
    closePanel_->setObjectName("BitBtn4");
    closePanel_->setToolTip("Закрыть");
    closePanel_->setAccessibleName("Закрыть");
    closePanel_->setIcon(pictureIcon(Picture::Close));
    closePanel_->setIconSize(QSize(12, 12));
    closePanel_->setAutoRaise(true);
    closePanel_->setFixedSize(20, 20);
    headerLayout->addWidget(closePanel_);
    panelHeader_ = header;
    panelLayout->addWidget(header);
    list_ = new QListWidget;
    list_->setObjectName("ListView1");
    // Named as the caption of its panel, for screen readers.
    list_->setAccessibleName(caption->text());
    list_->setFont(listFont());
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->installEventFilter(this);
    panelLayout->addWidget(list_, 1);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName("Splitter1");
    splitter_->setHandleWidth(kSplitterWidth);
    splitter_->setChildrenCollapsible(false);
    splitter_->setStyleSheet(
        "QSplitter::handle { background: palette(window);"
        " border-left: 1px solid palette(light); border-right: 1px solid palette(mid); }");
    splitter_->addWidget(panel_);
    pageArea_ = new QWidget;
    splitter_->addWidget(pageArea_);
    splitter_->setStretchFactor(1, 1);
    setCentralWidget(splitter_);
    setProviderPanelWidth(kPanelHidden);

    for (int k = 0; k < 2; ++k) {
        status_[k] = new QLabel;
        status_[k]->setObjectName(QString("StatusPanel%1").arg(k + 1));
        status_[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar()->addWidget(status_[k]);
    }
    // Named before the first counts are known; then by what they show.
    status_[0]->setAccessibleName("Хостинг-провайдеров");
    status_[1]->setAccessibleName("Тарифных планов");
    statusBar()->setObjectName("StatusBar1");
    statusBar()->setAccessibleName("Строка состояния");
    // The button that shows the toolbar's buttons for which there is no room.
    if (auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button"))
        more->setAccessibleName("Другие кнопки");
    fitToFont();

    // F6 and Shift+F6 go between the provider list, while it is shown, and the page.
    for (const QKeySequence& key :
         {QKeySequence(Qt::Key_F6), QKeySequence(Qt::SHIFT | Qt::Key_F6)}) {
        auto* pane = new QShortcut(key, this);
        connect(pane, &QShortcut::activated, this, &TForm1::focusNextPane);
    }
    placement_ = new FramePlacement(*this);
}

QAction* TForm1::addCommand(const QString& name, const QString& text) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    // The menu bar and the toolbar both live in this window, so every
    // shortcut works wherever the focus is inside it.
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    return action;
}

QAction* TForm1::command(const QString& name) const {
    return findChild<QAction*>(name);
}

void TForm1::setPageArea(QWidget* pageArea) {
    const int index = splitter_->indexOf(pageArea_);
    QWidget* old = splitter_->replaceWidget(index, pageArea);
    if (old != nullptr && old != pageArea) old->deleteLater();
    pageArea_ = pageArea;
    // The document inside is named by its page's title; the pane by what it is.
    pageArea_->setAccessibleName("Страница каталога");
    splitter_->setStretchFactor(1, 1);
    // The handle only draws the bevel; the panel's width is fixed.
    if (QSplitterHandle* handle = splitter_->handle(1)) handle->setEnabled(false);
}

void TForm1::attach(MainController& controller, MessageBox& messages) {
    controller_ = &controller;
    messages_ = &messages;
    for (const MainCommand& c : mainCommands()) {
        if (c.run == nullptr) continue;  // a menu of the bar
        const QString name = qs(c.name);
        auto handler = [this, method = c.run] {
            run([method](MainController& m) { (m.*method)(); });
        };
        if (c.kind == CommandKind::Button) {
            auto* button = findChild<QAbstractButton*>(name);
            if (button == nullptr) qFatal("The main window has no button %s", qPrintable(name));
            connect(button, &QAbstractButton::clicked, this, handler);
        } else {
            QAction* action = command(name);
            if (action == nullptr) qFatal("The main window has no command %s", qPrintable(name));
            connect(action, &QAction::triggered, this, handler);
            action->setEnabled(zorbinta::isEnabled(c, controller));
        }
    }
    connect(list_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { clickList(list_->row(item)); });
    qApp->installEventFilter(this);
}

void TForm1::run(const std::function<void(MainController&)>& handler) {
    if (controller_ == nullptr) return;
    runGuarded(*messages_, [&] { handler(*controller_); });
}

void TForm1::clickList(int row) {
    run([row](MainController& m) {
        m.selectItem(row);
        m.click();
    });
}

void TForm1::showEvent(QShowEvent* event) {
    // The window never gets narrower than both status panels side by side,
    // size grip included (shown only now), so that their texts never run
    // into each other.
    statusBar()->setMinimumWidth(statusBar()->minimumSizeHint().width());
    QMainWindow::showEvent(event);
    if (started_ || controller_ == nullptr) return;
    started_ = true;
    // Once the window is on screen: the first activation may itself show a
    // modal window (the new-version prompt).
    QTimer::singleShot(0, this, [this] { run([](MainController& m) { m.start(); }); });
}

bool TForm1::historyButton(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick) ||
        !watched->isWidgetType()) {
        return false;
    }
    const auto button = static_cast<QMouseEvent*>(event)->button();
    if (button != Qt::BackButton && button != Qt::ForwardButton) return false;
    if (static_cast<QWidget*>(watched)->window() != this) return false;
    // Through the program's history; the page engine never sees these
    // buttons, so its own history never moves.
    if (type == QEvent::MouseButtonPress) {
        QAction* action = command(button == Qt::BackButton ? "ToolButton5" : "ToolButton6");
        if (action->isEnabled()) action->trigger();
    }
    return true;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (historyButton(watched, event)) return true;
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            list_->currentItem() != nullptr && list_->currentItem()->isSelected()) {
            clickList(list_->currentRow());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::focusNextPane() {
    if (!list_->hasFocus() && list_->isVisible()) {
        list_->setFocus(Qt::ShortcutFocusReason);
    } else {
        pageArea_->setFocus(Qt::ShortcutFocusReason);
    }
}

void TForm1::setBounds(const Rect& bounds) {
    if (compositorPlacesWindows()) {
        // Only the compositor knows its panels; maximized, the window gets
        // the size it leaves free, in the compositor's own time.
        maximized_ = true;
        setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) |
                       Qt::WindowMaximized);
        return;
    }
    if (isMaximized() || isFullScreen()) showNormal();
    // The rectangle is the whole window, its frame included.
    placement_->fill(QRect(bounds.x, bounds.y, bounds.width, bounds.height));
}

void TForm1::setStatusText(int panel, const std::string& text) {
    if (panel != 0 && panel != 1) return;
    status_[panel]->setText(qs(text));
    if (!text.empty()) status_[panel]->setAccessibleName(status_[panel]->text());
}

bool TForm1::event(QEvent* event) {
    // The window's surface is made anew once the page engine draws into it
    // (a surface for OpenGL); the new one must ask to be maximized again,
    // once it is on show.
    if (event->type() == QEvent::WinIdChange && maximized_) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (QWindow* handle = windowHandle())
                    handle->setWindowStates(handle->windowStates() | Qt::WindowMaximized);
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitToFont();
}

void TForm1::fitToFont() {
    // As wide as designed for its small font, and wider where the user's
    // font needs it: the texts are never clipped.
    for (int k = 0; k < 2; ++k) {
        status_[k]->setFixedWidth(
            qMax(kStatusPanelWidth, widthToShow(*status_[k], kWidestStatusText[k])));
    }
    setProviderPanelWidth(panelWidth_);
}

void TForm1::setProviderPanelWidth(int width) {
    panelWidth_ = width;
    const bool shown = width > kPanelHidden;
    // Shown, wide enough for its caption and close button.
    panel_->setFixedWidth(shown ? qMax(width, panelHeader_->sizeHint().width()) : width);
    panelHeader_->setVisible(shown);
    list_->setVisible(shown);
}

void TForm1::setProviderList(const std::vector<std::string>& items) {
    list_->clear();
    for (const std::string& item : items) list_->addItem(qs(item));
}

void TForm1::setBackEnabled(bool enabled) {
    command("ToolButton5")->setEnabled(enabled);
}

void TForm1::setForwardEnabled(bool enabled) {
    command("ToolButton6")->setEnabled(enabled);
}

void TForm1::setChangesEnabled(bool enabled) {
    command("N16")->setEnabled(enabled);
}

void TForm1::setExportEnabled(bool enabled) {
    command("N25")->setEnabled(enabled);
}

void TForm1::closeWindow() {
    close();
}

}  // namespace zorbinta::qt
