#include "model/CModelServices.h"

#include "model/IInstrumentPanel.h"
#include "model/IKeyNames.h"
#include "model/IModelPresentation.h"
#include "model/IModelSounds.h"
#include "model/IOverlayMessages.h"
#include "model/ITerrain.h"
#include "model/IWindField.h"

namespace
{
// Stateless, so one shared instance of each serves every model.
CNullTerrain g_nullTerrain;
CNullWindField g_nullWind;
CNullModelPresentation g_nullPresentation;
CNullOverlayMessages g_nullMessages;
CNullModelSounds g_nullSounds;
CNullInstrumentPanelFactory g_nullPanels;
CNullKeyNames g_nullKeyNames;
} // namespace

CModelServices::CModelServices()
    : terrain(&g_nullTerrain), wind(&g_nullWind), presentation(&g_nullPresentation), messages(&g_nullMessages),
      sounds(&g_nullSounds), panels(&g_nullPanels), keyNames(&g_nullKeyNames)
{
}
