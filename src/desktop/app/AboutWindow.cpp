#include "desktop/app/AboutWindow.h"

#include <string>
#include <utility>

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

#include "core/support/Brand.h"
#include "desktop/app/PackageFacts.h"

namespace pelliwig {
namespace {

constexpr int kPadding = 26;
constexpr int kTextWidth = AboutWindow::kWidth - 2 * kPadding;

void setPixelFont(QWidget* widget, int pixels, QFont::Weight weight = QFont::Normal) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    font.setWeight(weight);
    widget->setFont(font);
}

QLabel* label(const QString& text, const char* name, QWidget* parent, int pixels,
              QFont::Weight weight = QFont::Normal) {
    auto* made = new QLabel(text, parent);
    made->setObjectName(name);
    made->setTextFormat(Qt::PlainText);
    made->setWordWrap(true);
    made->setFixedWidth(kTextWidth);
    setPixelFont(made, pixels, weight);
    // A fixed-size layout does not ask wrapped text for its height.
    made->setFixedHeight(made->heightForWidth(kTextWidth));
    return made;
}

QLabel* secondary(QLabel* label) {
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

}  // namespace

QString AboutWindow::licenceText() {
    QString text = QString("Licence: %1.").arg(PackageFacts::licenceName);
    for (const char* part : {PackageFacts::licenceText, PackageFacts::licenceComment}) {
        if (*part) text += " " + QString::fromUtf8(part);
    }
    if (*PackageFacts::copyright) text += QString("\nCopyright %1").arg(PackageFacts::copyright);
    return text;
}

QString AboutWindow::homepage() {
    return QString::fromUtf8(PackageFacts::homepage);
}

AboutWindow::AboutWindow(const QPixmap& portrait, const QString& storePath, OpenUrl openUrl,
                         QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      openUrl_(std::move(openUrl)) {
    setObjectName("about");
    setWindowTitle("About Zuzi");

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(8);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* picture = new QLabel(this);
    picture->setObjectName("portrait");
    picture->setFixedHeight(kPortraitHeight);
    if (!portrait.isNull()) {
        const qreal ratio = devicePixelRatioF();
        QPixmap scaled =
            portrait.scaledToHeight(qRound(kPortraitHeight * ratio), Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        picture->setPixmap(scaled);
    }
    column->addWidget(picture, 0, Qt::AlignHCenter);

    auto* name = label("Zuzi", "name", this, 24, QFont::Bold);
    name->setAlignment(Qt::AlignHCenter);
    column->addWidget(name);
    const QString version =
        QString::fromUtf8(Brand::version.data(), qsizetype(Brand::version.size()));
    auto* versionLabel = secondary(label("Version " + version, "version", this, 13));
    versionLabel->setAlignment(Qt::AlignHCenter);
    versionLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(versionLabel);
    column->addSpacing(8);

    column->addWidget(
        label("A small drawn companion at the top of your screen who reminds you "
              "to drink, eat, move and sleep.",
              "intro", this, 13));
    column->addSpacing(6);
    column->addWidget(label("What she reads", "readsHeading", this, 13, QFont::DemiBold));
    column->addWidget(secondary(
        label("The name of the application in front, how long ago you last used the keyboard "
              "or pointer, the battery and charger, your calendar files, and whether a camera or "
              "microphone is in use. Never what is inside a window, and never what you type.",
              "reads", this, 12)));
    column->addSpacing(6);
    column->addWidget(
        label("What never leaves your computer", "staysHeading", this, 13, QFont::DemiBold));
    column->addWidget(secondary(
        label("All of it. What she notices, her settings and her memory of you stay in one "
              "file, " +
                  storePath +
                  ". The only thing she sends is a check for a newer release every six hours, "
                  "which asks for the latest version and carries nothing about you.",
              "stays", this, 12)));
    column->addSpacing(6);

    const QString page = homepage();
    auto* link = new QLabel(this);
    link->setObjectName("homepage");
    link->setTextFormat(Qt::RichText);
    link->setText(QString("Project page: <a href=\"%1\">%2</a>")
                      .arg(page.toHtmlEscaped(), QUrl(page).host().toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    link->setFocusPolicy(Qt::StrongFocus);
    link->setAccessibleName("Project page " + page);
    setPixelFont(link, 12);
    connect(link, &QLabel::linkActivated, this, [this](const QString& url) {
        if (openUrl_) openUrl_(url);
    });
    column->addWidget(link);
    column->addWidget(secondary(label(licenceText(), "licence", this, 11)));
    column->addSpacing(8);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("close");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    column->addLayout(buttons);

    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void AboutWindow::showAndRaise() {
    if (!centred_) {
        centred_ = true;
        adjustSize();
        if (const auto* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
    if (auto* close = findChild<QPushButton*>("close")) close->setFocus();
}

}  // namespace pelliwig
