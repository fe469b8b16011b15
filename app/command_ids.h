#pragma once
// Command ids of the application and frame; the game's own are in game/fizmo_view.h.

enum AppCommand : unsigned {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_CHILD_NAME = 32790,  // ファイル → なまえ…
    ID_RECORDS = 32791,     // ファイル → きろく…
    // 計算の種類 → 段, and にがてを多めに
    ID_TABLE_ALL = 32800,  // ぜんぶ; 1のだん to 9のだん follow it
    ID_TABLE_9 = 32809,
    ID_ORDER_UP = 32810,
    ID_ORDER_DOWN = 32811,
    ID_ORDER_SHUFFLE = 32812,
    ID_PRACTICE_WEAK = 32813,
    // 計算の種類 → くりあがり・くりさがり: ぜんぶ, なし, だけ
    ID_CARRY_ALL = 32814,
    ID_CARRY_NONE = 32815,
    ID_CARRY_ONLY = 32816,
    ID_READ_ALOUD = 32820,  // 計算の種類 → よみあげ
    ID_DECORATION = 65535,  // the plain menu-bar items: handled nowhere
};
