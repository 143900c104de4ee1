#pragma once

class TAssemblyCommands;
class TDocumentCommands;
class TMachineView;
class TMainForm;
class TMemoryImageCommands;
class TMessageLog;
class TProgramEditor;
class TProgramFollower;
class TRunControl;
class TStartAddress;
class TStepPicture;
class TZoom;

// The parts of the window that talk to one another.
struct WindowParts {
    TMainForm& window;
    TProgramEditor& editor;
    TMachineView& view;
    TMessageLog& log;
    TStartAddress& start;
    TRunControl& runControl;
    TMemoryImageCommands& memoryImages;
    TDocumentCommands& documents;
    TAssemblyCommands& assembly;
    TProgramFollower& follower;
    TStepPicture& picture;
    TZoom& zoom;
};

// Connects every part's signals to the parts and commands that answer them.
void WireParts(const WindowParts& parts);
