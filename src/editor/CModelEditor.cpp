#include "editor/CModelEditor.h"

#include <fstream>
#include <sstream>

#include "core/Diagnostics.h"
#include "data/CPropertySet.h"
#include "data/CFile.h"
#include "model/CModel.h"
#include "model/CPart.h"
#include "model/CPartModelInfo.h"
#include "model/PartClassTable.h"

CModelEditor::CModelEditor(TModelFn model, TReloadFn reload, std::string scratchPath)
    : m_model(std::move(model)), m_reload(std::move(reload)), m_scratchPath(std::move(scratchPath))
{
}

int CModelEditor::Select(int index)
{
    CModel* model = Model();
    m_selected = -1;
    if (model == nullptr)
        return m_selected;
    if (index >= model->GetPartCount())
        index = model->GetPartCount() - 1;
    for (int i = index; i >= 0; --i)
        if (model->GetPart(i) != nullptr)
        {
            m_selected = i;
            break;
        }
    return m_selected;
}

void CModelEditor::SelectNext()
{
    if (CModel* model = Model())
    {
        const int next = model->NextPart(m_selected);
        if (next >= 0)
            m_selected = next;
    }
}

void CModelEditor::SelectPrev()
{
    if (CModel* model = Model())
    {
        const int previous = model->PrevPart(m_selected);
        if (previous >= 0)
            m_selected = previous;
    }
}

bool CModelEditor::AddPart(int classIndex)
{
    CModel* model = Model();
    const TPartClassDescriptor* descriptor = GetPartClass(classIndex);
    if (model == nullptr || descriptor == nullptr)
        return false;
    const std::string before = model->SaveText();
    const std::string name =
        model->UniquePartName(StringPrintf("%s%i", descriptor->blockToken, model->GetPartCount()));
    CPart* added = model->AddPart(classIndex, name);
    if (added == nullptr)
    {
        m_error = std::string("No ") + descriptor->blockToken + " part can be added to this model";
        return false;
    }
    added->GetPropertySet().StoreProperties();
    if (!ApplyText(model->SaveText(), &before))
        return false;
    m_history.Push(before);
    // Find it again in the reloaded model: the parts stand in class order.
    model = Model();
    for (int i = 0; model && i < model->GetPartCount(); ++i)
        if (CPart* part = model->GetPart(i))
            if (part->GetClassIndex() == classIndex && part->GetName() == name)
                m_selected = i;
    return true;
}

bool CModelEditor::DeleteSelected()
{
    CModel* model = Model();
    if (model == nullptr || model->GetPart(m_selected) == nullptr)
        return false;
    if (model->GetPart(m_selected) == model->GetModelInfo())
    {
        // A model without it would be loaded with a default one: no 3D object, no panel.
        m_error = "The model info M holds the model's settings and cannot be deleted";
        return false;
    }
    const std::string before = model->SaveText();
    const int deleted = m_selected;
    model->DeletePart(deleted);
    if (!ApplyText(model->SaveText(), &before))
        return false;
    m_history.Push(before);
    // The slot after the gap closed is the part that followed; from there down to one existing.
    Select(deleted);
    return true;
}

std::string CModelEditor::RenameSelected(const std::string& name)
{
    CModel* model = Model();
    if (model == nullptr || model->GetPart(m_selected) == nullptr)
        return std::string();
    const std::string before = model->SaveText();
    const std::string oldName = model->GetPart(m_selected)->GetName();
    const std::string given = model->RenamePart(m_selected, name);
    if (given == oldName)
    {
        if (name != oldName)
            m_error = "The model info keeps its name M";
        return given;
    }
    if (!ApplyText(model->SaveText(), &before))
        return std::string();
    m_history.Push(before);
    return given;
}

void CModelEditor::PropertyChanged()
{
    CModel* model = Model();
    if (model == nullptr)
        return;
    const std::string now = model->SaveText();
    if (now == m_current)
        return;
    m_history.Push(m_current);
    m_current = now;
}

bool CModelEditor::Undo()
{
    CModel* model = Model();
    std::string text;
    if (model == nullptr || !m_history.Undo(model->SaveText(), text))
        return false;
    if (ApplyText(text, nullptr))
        return true;
    // Nothing changed: the step goes back where it was.
    std::string ignored;
    m_history.Redo(text, ignored);
    return false;
}

bool CModelEditor::Redo()
{
    CModel* model = Model();
    std::string text;
    if (model == nullptr || !m_history.Redo(model->SaveText(), text))
        return false;
    if (ApplyText(text, nullptr))
        return true;
    std::string ignored;
    m_history.Undo(text, ignored);
    return false;
}

void CModelEditor::Reset()
{
    m_history.Clear();
    CModel* model = Model();
    m_current = model ? model->SaveText() : std::string();
    m_tracked = model;
    ++m_generation;
    Select(m_selected < 0 ? 0 : m_selected);
    m_error.clear();
}

void CModelEditor::Track()
{
    if (Model() != m_tracked)
        Reset();
}

bool CModelEditor::ApplyText(const std::string& text, const std::string* restore)
{
    CModel* model = Model();
    const std::string fileName = model ? model->GetFileName() : std::string();
    auto putBack = [&] {
        // The edit already touched the flying model: the text from before it puts it back.
        if (restore != nullptr)
        {
            m_tracked = m_reload(*restore, fileName);
            ++m_generation;
            if (m_tracked != nullptr)
                m_tracked->SetFileName(fileName);
        }
    };
    std::string writeError;
    if (!ReplaceFile(m_scratchPath, text, &writeError))
    {
        DiagPrint("%s\n", writeError.c_str());
        m_error = "The edit is not applied: " + m_scratchPath + " cannot be written";
        putBack();
        return false;
    }
    std::ifstream in(m_scratchPath, std::ios::binary);
    std::ostringstream readBack;
    readBack << in.rdbuf();
    if (!in || readBack.str() != text)
    {
        m_error = "The edit is not applied: " + m_scratchPath + " does not read back";
        putBack();
        return false;
    }
    CModel* loaded = m_reload(readBack.str(), fileName);
    ++m_generation;
    if (loaded == nullptr)
    {
        m_error = "The edited model does not load; it is put back as it was";
        putBack();
        return false;
    }
    loaded->SetFileName(fileName);
    m_tracked = loaded;
    m_current = loaded->SaveText();
    m_error.clear();
    Select(m_selected);
    return true;
}
