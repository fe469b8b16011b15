// The word-problem file's stream, and choosing another file.
#include "game/fizmo_view.h"
#include "game/problem_encoding.h"
#include "game/texts.h"
#include "platform/files.h"

void CFizmoView::OpenProblemFile() {
    if (!OpenProblemFileQuietly() && m_pWnd)
        m_pWnd->MessageBox(texts::kFileOpenFailed, texts::kAppTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool CFizmoView::OpenProblemFileQuietly() {
    CloseProblemFile();
    m_pProblemFile = OpenFileForReading(m_strProblemFile);
    // The lines on the screen keep the encoding they were read with until the next problem.
    m_eProblemFileEncoding = DetectProblemEncoding(m_pProblemFile);
    return m_pProblemFile != nullptr;
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
