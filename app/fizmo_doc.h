#pragma once
// The document: it holds nothing, is never modified and never saved.

class CFizmoDoc {
public:
    // Prepares the one document anew; always succeeds.
    bool OnNewDocument() { return true; }
    bool IsModified() const { return false; }
    // The document handles no command of its own.
    bool OnCommand(unsigned) { return false; }
};
