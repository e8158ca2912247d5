#if !__has_include("update/qt/TForm3.h")
#include "shell/qt/UpdatePlaceholder.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/core/Application.h"

namespace zorbinta::qt {

TForm3::TForm3(UpdateDialog& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName("Form3");
    setWindowTitle(dialogCaption(DialogId::Update));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    for (const std::string& text : model_.texts()) {
        const QString t = QString::fromStdString(text);
        if (t == "Загрузить" || t == "Отмена") {
            auto* button = new QPushButton(t);
            button->setObjectName(t == "Загрузить" ? "Button1" : "Button2");
            connect(button, &QPushButton::clicked, this, [this, t] {
                runGuarded(model_.messageBox(), [this, &t] {
                    if (t == "Загрузить") {
                        model_.Button1Click();
                    } else {
                        model_.Button2Click();
                    }
                });
            });
            buttons->addWidget(button);
        } else {
            layout->addWidget(new QLabel(t));
        }
    }
    layout->addLayout(buttons);
}

void TForm3::closeEvent(QCloseEvent* event) {
    event->ignore();
    runGuarded(model_.messageBox(), [this] { model_.closeBox(); });
}

void TForm3::reject() {
    runGuarded(model_.messageBox(), [this] { model_.closeBox(); });
}

}  // namespace zorbinta::qt
#endif
