#pragma once
// Everything the flight model needs from outside the flight model, as one record of pointers
// the flight process (or the headless kestro-fdm) fills before loading a model. Every pointer
// starts at a do-nothing implementation, so a model loads and flies with nothing filled in:
// flat ground at 0, still air, no window, no sound. None is owned by the model; whoever fills
// a pointer keeps the object alive as long as the model.

class CAirfoilList;
class CComponentNode;
class CVariableTable;
class IInstrumentPanelFactory;
class IKeyNames;
class IModelPresentation;
class IModelSounds;
class IOverlayMessages;
class ITerrain;
class IWindField;

struct CModelServices
{
    CModelServices();

    ITerrain* terrain;                     // ground height and normal
    IWindField* wind;                      // wind at a point, mean wind
    IModelPresentation* presentation;      // 3D object, shadow, pose
    IOverlayMessages* messages;            // "Damage: ...", reset hint, engine messages
    IModelSounds* sounds;                  // engine, crash and touch sounds
    IInstrumentPanelFactory* panels;       // instrument panel of MODEL_INFO
    IKeyNames* keyNames;                   // key texts for the reset hint
    CAirfoilList* airfoils;                // airfoil files; the process's shared list by default

    // The application's variables ("Input": V_CH1 .. V_CH9), searched before the model's own.
    // Null when there are none (a test, the headless run without input maps).
    CVariableTable* globalVariables = nullptr;
    // Root of the component tree ("MainKestro") the model hangs "MODEL" below. Null: the model
    // makes a private root of its own.
    CComponentNode* registryRoot = nullptr;
    // Where the developer files go is the data folder table's business; nothing here.
};
