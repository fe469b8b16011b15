// The word-problem file's stream, and choosing another file.
#include <sys/stat.h>

#include "game/fizmo_view.h"
#include "game/problem_encoding.h"
#include "game/texts.h"

namespace {

// fopen gives a stream for a folder too; reading it fails, so it counts as not opened.
// Plain "r": the problem reader does the text-mode translation itself.
std::FILE* OpenForReading(const std::string& name) {
    std::FILE* file = std::fopen(name.c_str(), "r");
    struct stat info {};
    if (file && fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

}  // namespace

void CFizmoView::OpenProblemFile() {
    CloseProblemFile();
    m_pProblemFile = OpenForReading(m_strProblemFile);
    // The lines on the screen keep the encoding they were read with until the next problem.
    m_eProblemFileEncoding = DetectProblemEncoding(m_pProblemFile);
    if (!m_pProblemFile && m_pWnd)
        m_pWnd->MessageBox(texts::kFileOpenFailed, texts::kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

void CFizmoView::CloseProblemFile() {
    if (m_pProblemFile) std::fclose(m_pProblemFile);
    m_pProblemFile = nullptr;
}

void CFizmoView::OnChangeProblemFile() {
    std::string name;
    if (!m_pWnd || m_pWnd->AskFileName(&name) != IDOK) return;
    m_strProblemFile = name;
    OpenProblemFile();
}
