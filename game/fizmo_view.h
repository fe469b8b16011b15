#pragma once
// The game view: all of the game's state and its operations. It reaches the desktop only
// through WindowServices, so it runs headless in tests.

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "game/practice.h"
#include "game/question_log.h"
#include "game/question_speech.h"
#include "game/random.h"
#include "game/stretched_background.h"
#include "platform/gdi.h"
#include "platform/window_services.h"

struct WaveSound;

// Menu command ids the view handles.
enum FizmoCommand : unsigned {
    ID_START = 32771,
    ID_MODE_TIMES_TABLE = 32772,
    ID_MODE_ADDITION = 32773,
    ID_MODE_WORD_PROBLEMS = 32774,
    ID_CHANGE_PROBLEM_FILE = 32775,
    ID_LEVEL_EASY = 32776,
    ID_LEVEL_NORMAL = 32777,
    ID_LEVEL_HARD = 32778,
    ID_STOP = 32779,
    ID_MODE_SUBTRACTION = 32780,
    ID_MODE_DIVISION = 32781,
};

// The kinds of quiz, as held in m_nQuizMode.
constexpr int kQuizTimesTable = 1;
constexpr int kQuizAddition = 2;
constexpr int kQuizWordProblems = 3;
constexpr int kQuizSubtraction = 5;  // 4 stays no kind, as it always was
constexpr int kQuizDivision = 6;

constexpr unsigned kTimerId = 1;
constexpr unsigned kTimerPeriodMs = 100;
constexpr int kTiles = 10;
constexpr int kShipStartX = 640;  // where the ship stands at the start of each stage
constexpr int kShipStartY = 200;
constexpr int kShots = 30;
// The back buffer is never smaller than this; it grows to cover a larger client area.
constexpr int kLeastBackBufferWidth = 1280;
constexpr int kLeastBackBufferHeight = 1024;

// The missile slot used by the latest shot; runs on from game to game.
extern int g_nNextShot;

class CFizmoView {
public:
    // `window` and `random` must outlive the view; null `random` means the standard rand.
    explicit CFizmoView(WindowServices* window, Random* random = nullptr);
    ~CFizmoView();
    CFizmoView(const CFizmoView&) = delete;
    CFizmoView& operator=(const CFizmoView&) = delete;

    // Set-up and layout.
    void OnInitialUpdate();
    void OnSize(unsigned type, int cx, int cy);
    // Grows the back buffer to cover the client area; it never shrinks.
    void CoverClientArea();

    // Tick.
    void OnTimer(unsigned idEvent);

    // Frame composition and judging.
    void OnPaint();
    // Stops play and puts the game back as a launch leaves it, waiting for Start: when the
    // demo hands the game to a player.
    void ReturnToLaunchState();
    // A frame that only draws the game as it stands, with no judging and no sequence: for any
    // repaint while no game runs (a resize, 新規), which must not replay a game over.
    void OnPaintStill();
    void OnPrepareDC(Surface* dc);
    void OnDraw(Surface* dc);
    void DrawStill(Surface* dc);

    // Quiz, problem file, heads-up display.
    void NextQuestion();
    void DrawHud(Surface* dc);
    void OpenProblemFile();
    // False when it cannot be opened, without saying so.
    bool OpenProblemFileQuietly();
    void CloseProblemFile();
    void OnChangeProblemFile();

    // Play control and stage flow.
    void OnStart();
    void OnStop();
    void OnModeTimesTable();
    void OnModeAddition();
    void OnModeWordProblems();
    void OnModeSubtraction();
    void OnModeDivision();
    void OnLevelEasy();
    void OnLevelNormal();
    void OnLevelHard();
    void OnUpdateModeTimesTable(CmdUI* ui);
    void OnUpdateModeAddition(CmdUI* ui);
    void OnUpdateModeWordProblems(CmdUI* ui);
    void OnUpdateModeSubtraction(CmdUI* ui);
    void OnUpdateModeDivision(CmdUI* ui);
    void OnUpdateLevelEasy(CmdUI* ui);
    void OnUpdateLevelNormal(CmdUI* ui);
    void OnUpdateLevelHard(CmdUI* ui);
    void ShowGameOver(Surface* dc);
    void ShowProblemsDone(Surface* dc);
    // The line game over or problems done leaves on the screen, drawn alone.
    void DrawEndOfPlayLine(Surface* dc);
    void ShowStageClear();
    void SetUpStage();
    void WaitSeconds(int seconds);

    // Player input.
    void OnMouseMove(unsigned flags, int x, int y);
    void OnLButtonDown(unsigned flags, int x, int y);
    void OnLButtonDblClk(unsigned flags, int x, int y);
    void OnRButtonDown(unsigned flags, int x, int y);
    void OnChar(unsigned ch, unsigned repeat, unsigned flags);
    void OnKeyDown(unsigned key, unsigned repeat, unsigned flags);
    void ChangeQuestion();
    void ChooseOperands();
    // The kind of the question asked, or null for word problems.
    const FactKind* Kind() const { return KindOf(m_nQuizMode); }

    // Each question's row: recorded from when it is asked until it ends.
    void BeginQuestionRecord();
    void EndQuestionRecord(QuestionEnd end);
    // A word problem's lines as one line, in m_eProblemEncoding.
    std::string ProblemText() const;
    // The question read aloud, when the program reads aloud; and stopped.
    void SayQuestion();
    void HushQuestion();

    // Routes a menu command; false when the view has no handler for it.
    bool OnCommand(unsigned id);
    bool OnUpdateCommandUI(unsigned id, CmdUI* ui);

    WindowServices* Window() const { return m_pWnd; }
    Random& Rng() const { return *m_pRandom; }

    // Drawing surfaces and images.
    std::unique_ptr<Surface> m_pSrcDC;
    std::unique_ptr<Surface> m_pBackDC;
    std::unique_ptr<Bitmap> m_pBackBitmap;
    std::unique_ptr<Bitmap> m_pShipBitmap;
    std::unique_ptr<Bitmap> m_pShipMask;
    std::unique_ptr<Bitmap> m_pBackground;
    std::unique_ptr<Bitmap> m_pMissileBitmap;
    std::unique_ptr<Bitmap> m_pMissileMask;
    std::unique_ptr<Bitmap> m_pCorrectMark;
    std::unique_ptr<Bitmap> m_pWrongMark;
    std::unique_ptr<Bitmap> m_pExplosionBitmap;
    std::unique_ptr<Bitmap> m_pExplosionMask;
    std::unique_ptr<Bitmap> m_pDigitBitmap[kTiles];
    // The background stretched to the view's width, made again when either changes.
    StretchedBackground m_stretchedBackground;

    // World.
    int m_nScrollX;
    int m_nScrollSpeed;
    int m_nShipX, m_nShipY;
    int m_bShotActive[kShots];
    int m_nShotX[kShots], m_nShotY[kShots];
    int m_nViewWidth = 0, m_nViewHeight = 0;
    int m_nTargetX[kTiles];
    int m_nTargetY[kTiles] = {};
    int m_nTargetSpeed[kTiles];
    int m_nTargetDY[kTiles] = {};

    // Quiz.
    int m_nQuizMode;
    int m_nOperandA, m_nOperandB;  // as shown: 13 and 5 for 13 － 5
    std::string m_strQuestion;     // Shift-JIS bytes
    std::string m_strAnswer;
    std::string m_strDigit[kTiles];
    int m_nDigitCount;
    int m_nDigitIndex;
    std::string m_strEntered;
    std::FILE* m_pProblemFile;
    std::string m_strProblemFile;  // in the file system's encoding
    char m_szProblemLine[3][80];
    TextEncoding m_eProblemEncoding = TextEncoding::ShiftJis;      // how the lines are shown
    TextEncoding m_eProblemFileEncoding = TextEncoding::ShiftJis;  // how the open file reads
    int m_nWordAnswer;

    // Play.
    int m_nScore;
    int m_bGameOver;
    int m_bProblemsDone;
    int m_bStageClear;
    int m_nStage;
    int m_nSpeedLow, m_nSpeedHigh;
    std::time_t m_timeStart = 0, m_timeNow = 0;

    // Presentation and sound.
    std::string m_strFontName;  // Shift-JIS bytes
    WaveSound* m_pSndCorrect = nullptr;
    WaveSound* m_pSndBgm = nullptr;
    WaveSound* m_pSndFire = nullptr;
    WaveSound* m_pSndWrong = nullptr;
    WaveSound* m_pSndBomb = nullptr;
    WaveSound* m_pSndClear = nullptr;

    // Where rows go: the child's records, a results sheet, or none.
    QuestionLog* m_pQuestionLog = nullptr;
    OpenQuestion m_question;
    // How operands are chosen when a grown-up asks for practice; none: the game's own draw.
    QuestionChooser* m_pChooser = nullptr;
    // Who reads questions aloud; none: they are only shown.
    QuestionSpeech* m_pSpeech = nullptr;

private:
    std::int64_t NowMs() const;

    WindowServices* m_pWnd;
    StdRandom m_stdRandom;
    Random* m_pRandom;
};
