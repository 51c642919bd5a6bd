#pragma once

#include <functional>

#include <QPixmap>
#include <QString>
#include <QWidget>

namespace pelliwig {

// "About Zuzi": her version, what she reads and that none of it leaves the
// computer, where her settings and memory are kept, the project page and the
// licence as her package states it.
class AboutWindow final : public QWidget {
    Q_OBJECT

public:
    using OpenUrl = std::function<void(const QString& url)>;

    static constexpr int kWidth = 440;
    static constexpr int kPortraitHeight = 110;

    // `storePath` is the file her settings and memory live in, as shown to
    // the user; `openUrl` opens the project page.
    AboutWindow(const QPixmap& portrait, const QString& storePath, OpenUrl openUrl,
                QWidget* parent = nullptr);

    // Shows the window in front of the others, centred the first time.
    void showAndRaise();

    // What the package says of the licence: its name, text and comment.
    static QString licenceText();
    static QString homepage();

private:
    OpenUrl openUrl_;
    bool centred_ = false;
};

}  // namespace pelliwig
