#pragma once
// A named value of the model (part class 8, block VARIABLE): what a function writes and a servo,
// wing or instrument reads, optionally linked to a property of another part so that writing the
// variable moves that property ("Wing.POSITION.X").
//
// The variable is a record of the model's variable table ("Model"), created by AttachToModel, so
// that the search list finds it by the part's name like any other variable (the application's
// "Input" names come first). A VARIABLE block is read as a part before the model's table is
// loaded, so without this the table would stay empty and no function could reach these
// variables. Parts of the same name share one record. The table keeps the record when the part
// goes, since functions and other parts hold its address.
//
// ApplyProperties re-initialises the record: value INITIAL_VALUE, link LINK from the model's
// node, unresolved, so it reads 0 until its first assignment.

#include "model/CPart.h"
#include "model/CPropertySet_Variable.h"
#include "model/CVariable.h"

class CPartVariable : public CPart
{
public:
    CPartVariable();

    bool AttachToModel(CModel& model) override;
    bool ApplyProperties() override;
    CPropertySet& GetPropertySet() override { return m_set; }

    // The part's variable (a record of the model's table once attached).
    CVariable& GetVariable() const { return *m_variable; }

private:
    CPropertySet_Variable m_set;
    CVariable m_detachedVariable;            // used until the part is attached to a model
    CVariable* m_variable = &m_detachedVariable; // not owned once attached: the table owns it
};
