#pragma once
// The editing core of the part editor, without any window: the selected part, structural edits
// (new, deleted and renamed parts), undo and redo.
//
// Applying: every structural edit and every undo or redo goes through the same loader as a
// model read from disk. The model text is written to a scratch file in Output/ (never into the
// pilot's model folder), read back from there and loaded by the owner's reload function, which
// replaces the flying model (keeping its motion); the new model gets the file name of the old
// one again, so a later save goes to the file it was loaded from. A scratch file that cannot be
// written reloads nothing: the edit is taken back, the model flies on as it was, and the error
// says so.
//
// The editor keeps no part pointers across an apply: only the selected slot index.

#include <functional>
#include <string>

#include "editor/CModelEditHistory.h"

class CModel;

class CModelEditor
{
public:
    // The flying model (null when none).
    using TModelFn = std::function<CModel*()>;
    // Replaces the flying model by the text; fileName is the name it keeps. Returns the new model
    // or null when the text did not load.
    using TReloadFn = std::function<CModel*(const std::string& text, const std::string& fileName)>;

    // scratchPath: the full path of the scratch file.
    CModelEditor(TModelFn model, TReloadFn reload, std::string scratchPath);

    CModel* Model() const { return m_model ? m_model() : nullptr; }

    // Selection: from index downwards to the first existing part (-1 when none).
    int Select(int index);
    int Selected() const { return m_selected; }
    // The next / previous existing part; the selection stays when there is none.
    void SelectNext();
    void SelectPrev();

    // A part of the class named token + slot count ("SERVO7"), made unique, then applied and
    // selected. False (with the error) when it could not be made or applied.
    bool AddPart(int classIndex);
    bool DeleteSelected();
    // Renames the selected part (unique name, "_" appended on clashes) and applies; returns the
    // name given.
    std::string RenameSelected(const std::string& name);
    // A property of the selected part was changed in place: an undo step.
    void PropertyChanged();
    // The part flags of the tree's check boxes changed in place: an undo step too.
    void FlagsChanged() { PropertyChanged(); }

    bool Undo();
    bool Redo();
    // The model was replaced from outside (loaded from the selection dialog): history dropped.
    void Reset();
    // Called once per frame: notices a model replaced from outside.
    void Track();

    // Grows each time the model object is replaced (an apply, an undo, an outside load): views
    // holding controls of the old model's parts must drop them.
    int Generation() const { return m_generation; }
    const std::string& GetError() const { return m_error; }
    void ClearError() { m_error.clear(); }
    const CModelEditHistory& History() const { return m_history; }
    const std::string& ScratchPath() const { return m_scratchPath; }

private:
    // Writes text to the scratch file, reads it back and reloads it under the model's file
    // name. On failure the model is put back from restore (in memory) when one is given.
    bool ApplyText(const std::string& text, const std::string* restore);

    TModelFn m_model;
    TReloadFn m_reload;
    std::string m_scratchPath;
    int m_selected = -1;
    CModelEditHistory m_history;
    std::string m_current; // the model's text after the last edit or load
    CModel* m_tracked = nullptr;
    std::string m_error;
    int m_generation = 0;
};
