#include "desktop/settings/RemoveButton.h"

#include "desktop/settings/SettingsWidgets.h"

namespace pelliwig {

RemoveButton::RemoveButton(QWidget* parent) : QToolButton(parent) {
    setObjectName("remove");
    setAutoRaise(true);
    setIcon(themeIcon({"list-remove-symbolic", "list-remove"}, QStyle::SP_DialogCancelButton));
    setText("Remove");
    setToolTip("Remove");
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setFocusPolicy(Qt::StrongFocus);
}

QToolButton* addButton(const QString& title, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(themeIcon({"list-add-symbolic", "list-add"}, QStyle::SP_FileDialogNewFolder));
    button->setText(literalTitle(title));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

}  // namespace pelliwig
