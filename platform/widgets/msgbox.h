#pragma once

#include <QString>
#include <string>

class QWidget;

namespace riz {

// The program's message boxes: errors (caption 1), questions with Yes/No (caption 2) and
// information (caption 3), each by string-table id or by ready text (Windows-1252).
// Every box goes through ModalHook first, so tests answer it without a window.
class TMsgBox final
{
public:
    enum Result { mrYes = 6, mrNo = 7, mrOk = 1 };

    explicit TMsgBox(QWidget* parent = nullptr) : m_parent(parent) {}

    void Error(int id) const;
    void Error(const std::string& text) const;
    void Info(int id) const;
    void Info(const std::string& text) const;
    // True when the user answers Yes.
    bool Question(int id) const;
    bool Question(const std::string& text) const;

    void SetParent(QWidget* parent) { m_parent = parent; }

private:
    int Show(const char* kind, int captionId, const std::string& text) const;

    QWidget* m_parent = nullptr;
};

// The global instance; created and destroyed by the main window. The accessor creates a
// parentless instance on first use so that code outside the main window (and tests) can
// always reach it.
TMsgBox& MsgBox();
void SetMsgBox(TMsgBox* box);

} // namespace riz
