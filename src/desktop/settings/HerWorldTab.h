#pragma once

#include <memory>

#include "core/support/Clock.h"
#include "desktop/settings/FolderChooser.h"
#include "desktop/settings/FormPage.h"
#include "desktop/settings/RecordRows.h"

namespace pelliwig {

// Her personality, the apps she watches, the big day, countdowns, yearly
// dates, taught lines and the photo folder.
class HerWorldTab : public FormPage {
    Q_OBJECT
public:
    HerWorldTab(Prefs& prefs, const Clock& clock, ChooseFolder chooseFolder,
                QWidget* parent = nullptr);

    // The row of one record ("countdown.<id>", "specialDate.<id>",
    // "taughtLine.<id>"), if shown.
    QWidget* countdownRow(const Uuid& id) const { return countdowns_->rowFor(id); }
    QWidget* specialDateRow(const Uuid& id) const { return specialDates_->rowFor(id); }
    QWidget* taughtLineRow(const Uuid& id) const { return taughtLines_->rowFor(id); }

private:
    void addPersonality();
    void addRoastPicker(QVBoxLayout* section);
    void addWatchedApps();
    void addBigDay();
    void addCountdowns();
    void addSpecialDates();
    void addTaughtLines();
    void addPhotoFolder();
    // A list section's rows and its add button; returns the rows' layout.
    QVBoxLayout* addListSection(const QString& header, const QString& addTitle, const char* addName,
                                std::function<void()> add);

    RecordRows<Countdown>::Row makeCountdownRow(const Uuid& id);
    RecordRows<SpecialDate>::Row makeSpecialDateRow(const Uuid& id);
    RecordRows<TaughtLine>::Row makeTaughtLineRow(const Uuid& id);

    const Clock& clock_;
    ChooseFolder chooseFolder_;
    std::unique_ptr<RecordRows<Countdown>> countdowns_;
    std::unique_ptr<RecordRows<SpecialDate>> specialDates_;
    std::unique_ptr<RecordRows<TaughtLine>> taughtLines_;
};

}  // namespace pelliwig
