#pragma once
// Whether GIO can look at desktop entries without hanging. Its first look (any
// GDesktopAppInfo, from a file or a key file alike, and every lookup of a
// default application) walks every applications folder, following folder
// links without bound: two links of a folder to itself hold the caller for
// good. The same walk, bounded, tells beforehand.
class ApplicationFolders {
public:
    // GIO's walk visits no more folders than this on any real desktop.
    static constexpr int maxFolders = 1000;

    // Walked again only when one of the applications folders changed, as GIO
    // walks again only then. Safe from any thread.
    static bool gioWalkEnds();
};
