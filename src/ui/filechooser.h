#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace dravin {

// The file dialogs of the study commands. The desktop shows Qt's dialogs; tests
// answer them from a script.
class FileChooser {
public:
    enum class Kind { Open, Save };
    struct Request {
        Kind kind;
        QString objectName;  // "OpenDialog1" or "SaveDialog1"
        QString title;
        QString directory;
        bool mustExist;  // the file and its directory must exist
    };
    virtual ~FileChooser() = default;
    // The chosen file, or nothing when the user cancels.
    virtual std::optional<QString> choose(QWidget* parent, const Request& request) = 0;
};

// Qt's file dialog with the study filter "Αρχεία Κατανομής Χιλιοστών (*.DVT)".
class DialogFileChooser final : public FileChooser {
public:
    std::optional<QString> choose(QWidget* parent, const Request& request) override;
};

inline const char* kStudyFilter = "Αρχεία Κατανομής Χιλιοστών (*.DVT)";

}  // namespace dravin
