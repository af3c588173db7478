#pragma once
// The shared objects every window and view controller carries, in the order
// they are handed on. The first three are the one ApplicationHelpers seen
// through its narrow interfaces; controllers that save, edit or ask for
// facts about files use `helpers` and `editing`.
class ApplicationHelpers;
class ApplicationHelping;
class ModelEditing;
class ModelObjectHelping;
class ObjectContext;
class SystemItemHelping;
class UndoManager;

struct CommonObjects {
    ApplicationHelping* applicationHelpers = nullptr;
    ModelObjectHelping* modelObjectHelpers = nullptr;
    SystemItemHelping* systemItemHelpers = nullptr;
    UndoManager* undoManager = nullptr;
    ObjectContext* managedObjectContext = nullptr;
    ApplicationHelpers* helpers = nullptr;
    ModelEditing* editing = nullptr;

    // All of them from the live database of `helpers` (which must be loaded).
    static CommonObjects fromHelpers(ApplicationHelpers& helpers);
};
