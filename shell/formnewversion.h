#pragma once

#include "shell/updateoffer.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TFormNewVersion;
}

namespace riz {

// "Neue Version verfügbar!": the own and the new version, "Ja" (update), "Nein" and
// "Nicht mehr fragen*".
class TFormNewVersion final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormNewVersion)

public:
    TFormNewVersion(const std::string& own, const std::string& latest, QWidget* parent = nullptr);
    ~TFormNewVersion() override;

    bool DontAsk() const;
    Ui::TFormNewVersion& Form() { return *m_ui; }

    // Shows the dialog modally. Tests answer it through ModalHook kind "TFormNewVersion":
    // 6 for "Ja", 7 for "Nein", with the text "dontask" when the check box is to be checked.
    static TNewVersionAnswer Ask(const std::string& own, const std::string& latest,
                                 QWidget* parent = nullptr);

private:
    std::unique_ptr<Ui::TFormNewVersion> m_ui;
};

} // namespace riz
