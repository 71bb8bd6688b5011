#include "FileDialog.h"

#include "MessageBox.h"
#include "QtText.h"
#include "Seam.h"

#include <QFileDialog>

namespace {

using RunSeam = Seam<struct FileDialogRunTag, int(CFileDialog&, std::string&)>;

} // namespace

CFileDialog::CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName,
                         unsigned flags, std::string filter, QWidget* parent)
    : m_bOpenFileDialog(openFileDialog), m_strDefaultExtension(std::move(defaultExtension)),
      m_strFileName(std::move(fileName)), m_nFlags(flags), m_strFilter(std::move(filter)),
      m_pParent(parent) {}

CFileDialog::RunHandler CFileDialog::SetRunHandler(RunHandler handler) {
    return RunSeam::Set(std::move(handler));
}

QStringList CFileDialog::NameFilters() const {
    // Description and pattern alternate between the bars.
    const QStringList parts = ToQString(m_strFilter).split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty())
            names << parts[i];
    return names;
}

int CFileDialog::DoModal() {
    if (const auto& handler = RunSeam::Get())
        return handler(*this, m_strPathName);
    QFileDialog dialog(m_pParent, ToQString(m_strTitle));
    dialog.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_bOpenFileDialog && (m_nFlags & OFN_FILEMUSTEXIST)
                           ? QFileDialog::ExistingFile
                           : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(m_nFlags & OFN_OVERWRITEPROMPT));
    dialog.setNameFilters(NameFilters());
    dialog.setDefaultSuffix(ToQString(m_strDefaultExtension));
    if (!m_strFileName.empty())
        dialog.selectFile(ToQString(m_strFileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    m_strPathName = ToStdString(dialog.selectedFiles().constFirst());
    return IDOK;
}
