#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

enum : unsigned {
    OFN_OVERWRITEPROMPT = 0x0002,
    OFN_FILEMUSTEXIST = 0x1000,
};

// A file dialog in the shape the program's commands expect: open or save-as, a default
// extension and name, a filter of the form "Name (*.ext)|*.ext||".
class CFileDialog {
public:
    CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName,
                unsigned flags, std::string filter, QWidget* parent = nullptr);

    void SetTitle(std::string title) { m_strTitle = std::move(title); }
    // IDOK with a path chosen, or IDCANCEL.
    int DoModal();
    std::string GetPathName() const { return m_strPathName; }

    // The filter's description parts, as Qt takes them: "Name (*.ext)".
    QStringList NameFilters() const;

    // Tests replace the dialog: the handler answers IDOK or IDCANCEL and sets the path.
    using RunHandler = std::function<int(CFileDialog& dialog, std::string& pathName)>;
    static RunHandler SetRunHandler(RunHandler handler);

private:
    bool m_bOpenFileDialog;
    std::string m_strDefaultExtension;
    std::string m_strFileName;
    unsigned m_nFlags;
    std::string m_strFilter;
    QWidget* m_pParent;
    std::string m_strTitle;
    std::string m_strPathName;
};
