#include "model/CModelServices.h"

#include "model/CAirfoilList.h"
#include "model/IInstrumentPanel.h"
#include "model/IKeyNames.h"
#include "model/IModelPresentation.h"
#include "model/IModelSounds.h"
#include "model/IOverlayMessages.h"
#include "model/ITerrain.h"
#include "model/IWindField.h"

CModelServices::CModelServices()
{
    // Stateless, so one instance of each serves every model.
    static CNullTerrain nullTerrain;
    static CNullWindField nullWind;
    static CNullModelPresentation nullPresentation;
    static CNullOverlayMessages nullMessages;
    static CNullModelSounds nullSounds;
    static CNullInstrumentPanelFactory nullPanels;
    static CNullKeyNames nullKeyNames;
    terrain = &nullTerrain;
    wind = &nullWind;
    presentation = &nullPresentation;
    messages = &nullMessages;
    sounds = &nullSounds;
    panels = &nullPanels;
    keyNames = &nullKeyNames;
    airfoils = &CAirfoilList::Shared();
}
