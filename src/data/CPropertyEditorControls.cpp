#include "data/CPropertyEditorControls.h"

namespace
{
const TPropertyEditorFactory* g_factory = nullptr; // not owned: the GUI's static table
}

void SetPropertyEditorFactory(const TPropertyEditorFactory* factory)
{
    g_factory = factory;
}

const TPropertyEditorFactory* PropertyEditorFactory()
{
    return g_factory;
}
