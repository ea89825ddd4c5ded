<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="library.archiveHeld">
        <source>Your library file could not be read and could not be set aside. To keep it safe, Stashwell will not save any changes until it is restarted.</source>
        <translation>Your library file could not be read and could not be set aside. To keep it safe, Stashwell will not save any changes until it is restarted.</translation>
    </message>
    <message id="library.archiveUnreadable">
        <source>Your library file could not be read. It was kept unchanged as “%1”, and nothing was deleted. Stashwell has started with an empty library.</source>
        <translation>Your library file could not be read. It was kept unchanged as “%1”, and nothing was deleted. Stashwell has started with an empty library.</translation>
    </message>
    <message id="library.archiveWriteFailed">
        <source>Your library could not be saved to disk. Your latest changes are kept while Stashwell is open, and it will try again with your next change.</source>
        <translation>Your library could not be saved to disk. Your latest changes are kept while Stashwell is open, and it will try again with your next change.</translation>
    </message>
    <message id="library.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="library.create">
        <source>Create</source>
        <translation>Create</translation>
    </message>
    <message id="library.delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="library.deleteMessageMany">
        <source>%1 saves are filed in this collection. They stay in your library.</source>
        <translation>%1 saves are filed in this collection. They stay in your library.</translation>
    </message>
    <message id="library.deleteMessageOne">
        <source>%1 save is filed in this collection. It stays in your library.</source>
        <translation>%1 save is filed in this collection. It stays in your library.</translation>
    </message>
    <message id="library.deleteTitle">
        <source>Delete “%1”?</source>
        <translation>Delete “%1”?</translation>
    </message>
    <message id="library.deleteTitleUnnamed">
        <source>Delete this collection?</source>
        <translation>Delete this collection?</translation>
    </message>
    <message id="library.emptyTrash">
        <source>Empty Trash</source>
        <translation>Empty Trash</translation>
    </message>
    <message id="library.emptyTrashMessage">
        <source>%1 in the Trash will be deleted for good. This can’t be undone.</source>
        <translation>%1 in the Trash will be deleted for good. This can’t be undone.</translation>
    </message>
    <message id="library.emptyTrashTitle">
        <source>Empty the Trash?</source>
        <translation>Empty the Trash?</translation>
    </message>
    <message id="library.emptyTrashWithMedia">
        <source>%1 in the Trash and %2 of downloaded media will be deleted for good. This can’t be undone.</source>
        <translation>%1 in the Trash and %2 of downloaded media will be deleted for good. This can’t be undone.</translation>
    </message>
    <message id="library.leftBehindMany">
        <source>%1 media files could not be deleted. They are still in %2.</source>
        <translation>%1 media files could not be deleted. They are still in %2.</translation>
    </message>
    <message id="library.leftBehindOne">
        <source>%1 media file could not be deleted. It is still in %2.</source>
        <translation>%1 media file could not be deleted. It is still in %2.</translation>
    </message>
    <message id="library.leftBehindTitle">
        <source>Some files were not deleted</source>
        <translation>Some files were not deleted</translation>
    </message>
    <message id="library.nameTaken">
        <source>A collection named “%1” already exists.</source>
        <translation>A collection named “%1” already exists.</translation>
    </message>
    <message id="library.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="library.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="library.showInFileManager">
        <source>Show in Folder</source>
        <translation>Show in Folder</translation>
    </message>
    <message id="library.trashSavesMany">
        <source>%1 saves</source>
        <translation>%1 saves</translation>
    </message>
    <message id="library.trashSavesOne">
        <source>%1 save</source>
        <translation>%1 save</translation>
    </message>
    <message id="menu.downloadMissing">
        <source>Download Missing</source>
        <translation>Download Missing</translation>
    </message>
    <message id="menu.emptyTrash">
        <source>Empty Trash…</source>
        <translation>Empty Trash…</translation>
    </message>
    <message id="menu.library">
        <source>Library</source>
        <translation>Library</translation>
    </message>
    <message id="menu.saveLink">
        <source>Save Link…</source>
        <translation>Save Link…</translation>
    </message>
    <message id="menu.quickSave">
        <source>Quick Save…</source>
        <translation>Quick Save…</translation>
    </message>
    <message id="menu.openStashwell">
        <source>Open Stashwell</source>
        <translation>Open Stashwell</translation>
    </message>
    <message id="menu.settings">
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Stashwell</source>
        <translation>Quit Stashwell</translation>
    </message>
    <message id="menu.file">
        <source>File</source>
        <translation>File</translation>
    </message>
    <message id="menu.edit">
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message id="menu.close">
        <source>Close Window</source>
        <translation>Close Window</translation>
    </message>
    <message id="menu.undo">
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message id="menu.redo">
        <source>Redo</source>
        <translation>Redo</translation>
    </message>
    <message id="menu.cut">
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message id="menu.copy">
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message id="menu.paste">
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message id="menu.selectAll">
        <source>Select All</source>
        <translation>Select All</translation>
    </message>
    <message id="network.apply">
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message id="network.connection">
        <source>Connection</source>
        <translation>Connection</translation>
    </message>
    <message id="network.direct">
        <source>Direct</source>
        <translation>Direct</translation>
    </message>
    <message id="network.directNote">
        <source>Stashwell connects to X and to web pages directly, without a proxy.</source>
        <translation>Stashwell connects to X and to web pages directly, without a proxy.</translation>
    </message>
    <message id="network.host">
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message id="network.hostNotStorable">
        <source>This host can’t be stored as written. Enter a host name or an address, and put an IPv6 address in brackets, like [::1].</source>
        <translation>This host can’t be stored as written. Enter a host name or an address, and put an IPv6 address in brackets, like [::1].</translation>
    </message>
    <message id="network.http">
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message id="network.httpNote">
        <source>Stashwell connects through the HTTP proxy at this host and port.</source>
        <translation>Stashwell connects through the HTTP proxy at this host and port.</translation>
    </message>
    <message id="network.pasteFromTerminal">
        <source>Paste from Terminal</source>
        <translation>Paste from Terminal</translation>
    </message>
    <message id="network.pasteNote">
        <source>Paste the proxy lines you export in your shell. Stashwell fills in the form, applies the proxy and tests the connection.</source>
        <translation>Paste the proxy lines you export in your shell. Stashwell fills in the form, applies the proxy and tests the connection.</translation>
    </message>
    <message id="network.port">
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message id="network.proxy">
        <source>Proxy</source>
        <translation>Proxy</translation>
    </message>
    <message id="network.socks">
        <source>SOCKS</source>
        <translation>SOCKS</translation>
    </message>
    <message id="network.socksNote">
        <source>Stashwell connects through the SOCKS proxy at this host and port.</source>
        <translation>Stashwell connects through the SOCKS proxy at this host and port.</translation>
    </message>
    <message id="network.system">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="network.systemNote">
        <source>Stashwell uses the system’s proxy settings.</source>
        <translation>Stashwell uses the system’s proxy settings.</translation>
    </message>
    <message id="network.test">
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message id="network.use">
        <source>Use</source>
        <translation>Use</translation>
    </message>
    <message id="quickSave.alreadyIn">
        <source>Already in your library</source>
        <translation>Already in your library</translation>
    </message>
    <message id="quickSave.unreadable">
        <source>Couldn’t read a post or page from the copied text</source>
        <translation>Couldn’t read a post or page from the copied text</translation>
    </message>
    <message id="refusal.alreadyDownloading">
        <source>This save is already downloading.</source>
        <translation>This save is already downloading.</translation>
    </message>
    <message id="refusal.alreadyOnThisComputer">
        <source>This save’s media is already on this computer.</source>
        <translation>This save’s media is already on this computer.</translation>
    </message>
    <message id="refusal.nameEmpty">
        <source>A collection needs a name.</source>
        <translation>A collection needs a name.</translation>
    </message>
    <message id="refusal.nameTaken">
        <source>Another collection already has this name.</source>
        <translation>Another collection already has this name.</translation>
    </message>
    <message id="refusal.noSuchCollection">
        <source>This collection no longer exists.</source>
        <translation>This collection no longer exists.</translation>
    </message>
    <message id="refusal.notALink">
        <source>This isn’t a valid link.</source>
        <translation>This isn’t a valid link.</translation>
    </message>
    <message id="refusal.notAPost">
        <source>This link doesn’t point to a post.</source>
        <translation>This link doesn’t point to a post.</translation>
    </message>
    <message id="refusal.nothingToDownload">
        <source>This save has no media to download.</source>
        <translation>This save has no media to download.</translation>
    </message>
    <message id="refusal.overBudget">
        <source>This download needs %1, but only %2 is left under the media limit.</source>
        <translation>This download needs %1, but only %2 is left under the media limit.</translation>
    </message>
    <message id="refusal.unreachable">
        <source>Couldn’t reach the post or page. Check your connection and try again.</source>
        <translation>Couldn’t reach the post or page. Check your connection and try again.</translation>
    </message>
    <message id="settings.appearance">
        <source>Appearance</source>
        <translation>Appearance</translation>
    </message>
    <message id="settings.appearanceNote">
        <source>Choose the theme and the look of the library window.</source>
        <translation>Choose the theme and the look of the library window.</translation>
    </message>
    <message id="settings.downloadOnSave">
        <source>Download media when saving</source>
        <translation>Download media when saving</translation>
    </message>
    <message id="settings.downloads">
        <source>Downloads</source>
        <translation>Downloads</translation>
    </message>
    <message id="settings.downloadsNote">
        <source>Media is kept in the media folder on this computer, within the limit you set.</source>
        <translation>Media is kept in the media folder on this computer, within the limit you set.</translation>
    </message>
    <message id="settings.general">
        <source>General</source>
        <translation>General</translation>
    </message>
    <message id="settings.glass">
        <source>Glass</source>
        <translation>Glass</translation>
    </message>
    <message id="settings.language">
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message id="settings.languageNote">
        <source>A new language takes effect when Stashwell relaunches.</source>
        <translation>A new language takes effect when Stashwell relaunches.</translation>
    </message>
    <message id="settings.languageSystem">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="settings.libraryWindow">
        <source>Library Window</source>
        <translation>Library Window</translation>
    </message>
    <message id="settings.mediaFolder">
        <source>Media Folder</source>
        <translation>Media Folder</translation>
    </message>
    <message id="settings.mediaLimit">
        <source>Media Limit</source>
        <translation>Media Limit</translation>
    </message>
    <message id="settings.network">
        <source>Network</source>
        <translation>Network</translation>
    </message>
    <message id="settings.relaunch">
        <source>Relaunch</source>
        <translation>Relaunch</translation>
    </message>
    <message id="settings.showInFileManager">
        <source>Show in Folder</source>
        <translation>Show in Folder</translation>
    </message>
    <message id="settings.solid">
        <source>Solid</source>
        <translation>Solid</translation>
    </message>
    <message id="settings.theme">
        <source>Theme</source>
        <translation>Theme</translation>
    </message>
    <message id="settings.themeDark">
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
    <message id="settings.themeLight">
        <source>Light</source>
        <translation>Light</translation>
    </message>
    <message id="settings.themeSystem">
        <source>System</source>
        <translation>System</translation>
    </message>
    <message id="settings.title">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="settings.videoQuality">
        <source>Video Quality</source>
        <translation>Video Quality</translation>
    </message>
    <message id="shelf.allSaves">
        <source>All Saves</source>
        <translation>All Saves</translation>
    </message>
    <message id="shelf.downloadMissing" numerus="yes">
        <source>Download %n missing · %1</source>
        <translation>
            <numerusform>Download %n missing · %1</numerusform>
            <numerusform>Download %n missing · %1</numerusform>
        </translation>
    </message>
    <message id="shelf.emptyTitle">
        <source>Nothing here yet</source>
        <translation>Nothing here yet</translation>
    </message>
    <message id="shelf.itemMany">
        <source>%1 items</source>
        <translation>%1 items</translation>
    </message>
    <message id="shelf.itemOne">
        <source>%1 item</source>
        <translation>%1 item</translation>
    </message>
    <message id="shelf.matching">
        <source>%1 matching “%2”</source>
        <translation>%1 matching “%2”</translation>
    </message>
    <message id="shelf.noMatch">
        <source>No results for “%1”</source>
        <translation>No results for “%1”</translation>
    </message>
    <message id="shelf.recentlyAdded">
        <source>Recently Added</source>
        <translation>Recently Added</translation>
    </message>
    <message id="shelf.viewAll">
        <source>View All</source>
        <translation>View All</translation>
    </message>
    <message id="title.allSaves">
        <source>All Saves</source>
        <translation>All Saves</translation>
    </message>
    <message id="title.collection">
        <source>Collection</source>
        <translation>Collection</translation>
    </message>
    <message id="title.favourites">
        <source>Favourites</source>
        <translation>Favourites</translation>
    </message>
    <message id="title.images">
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message id="title.linkOnly">
        <source>Link Only</source>
        <translation>Link Only</translation>
    </message>
    <message id="title.links">
        <source>Links</source>
        <translation>Links</translation>
    </message>
    <message id="title.onThisComputer">
        <source>On This Computer</source>
        <translation>On This Computer</translation>
    </message>
    <message id="title.recentlyAdded">
        <source>Recently Added</source>
        <translation>Recently Added</translation>
    </message>
    <message id="title.savedCount" numerus="yes">
        <source>%n saved</source>
        <translation>
            <numerusform>%n saved</numerusform>
            <numerusform>%n saved</numerusform>
        </translation>
    </message>
    <message id="title.textPosts">
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message id="title.trash">
        <source>Trash</source>
        <translation>Trash</translation>
    </message>
    <message id="title.videos">
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message id="title.web">
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message id="toast.deleted">
        <source>Deleted “%1”</source>
        <translation>Deleted “%1”</translation>
    </message>
    <message id="toast.downloadedTo" numerus="yes">
        <source>%n saves downloaded to %1</source>
        <translation>
            <numerusform>%n save downloaded to %1</numerusform>
            <numerusform>%n saves downloaded to %1</numerusform>
        </translation>
    </message>
    <message id="toast.downloading" numerus="yes">
        <source>Downloading %n saves</source>
        <translation>
            <numerusform>Downloading %n save</numerusform>
            <numerusform>Downloading %n saves</numerusform>
        </translation>
    </message>
    <message id="toast.edited">
        <source>Updated “%1”</source>
        <translation>Updated “%1”</translation>
    </message>
    <message id="toast.filedCountIn" numerus="yes">
        <source>Added %n saves to %1</source>
        <translation>
            <numerusform>Added %n save to %1</numerusform>
            <numerusform>Added %n saves to %1</numerusform>
        </translation>
    </message>
    <message id="toast.filedIn">
        <source>Added to %1</source>
        <translation>Added to %1</translation>
    </message>
    <message id="toast.linkCopied">
        <source>Link copied</source>
        <translation>Link copied</translation>
    </message>
    <message id="toast.localCopyRemoved">
        <source>Download removed</source>
        <translation>Download removed</translation>
    </message>
    <message id="toast.made">
        <source>Created “%1”</source>
        <translation>Created “%1”</translation>
    </message>
    <message id="toast.madeAndFiled">
        <source>Created “%1” and added the save</source>
        <translation>Created “%1” and added the save</translation>
    </message>
    <message id="toast.movedCountToTrash" numerus="yes">
        <source>Moved %n saves to the Trash</source>
        <translation>
            <numerusform>Moved %n save to the Trash</numerusform>
            <numerusform>Moved %n saves to the Trash</numerusform>
        </translation>
    </message>
    <message id="toast.movedToTrash">
        <source>Moved to the Trash</source>
        <translation>Moved to the Trash</translation>
    </message>
    <message id="toast.restored">
        <source>Restored</source>
        <translation>Restored</translation>
    </message>
    <message id="toast.restoredCount" numerus="yes">
        <source>Restored %n saves</source>
        <translation>
            <numerusform>Restored %n save</numerusform>
            <numerusform>Restored %n saves</numerusform>
        </translation>
    </message>
    <message id="toast.saved">
        <source>Saved</source>
        <translation>Saved</translation>
    </message>
    <message id="toast.savedDownloading">
        <source>Saved · downloading media</source>
        <translation>Saved · downloading media</translation>
    </message>
    <message id="toast.savedTo">
        <source>Saved to %1</source>
        <translation>Saved to %1</translation>
    </message>
    <message id="toast.starredCount" numerus="yes">
        <source>Added %n saves to Favourites</source>
        <translation>
            <numerusform>Added %n save to Favourites</numerusform>
            <numerusform>Added %n saves to Favourites</numerusform>
        </translation>
    </message>
    <message id="toast.starredIt">
        <source>Added to Favourites</source>
        <translation>Added to Favourites</translation>
    </message>
    <message id="toast.takenOut">
        <source>Removed from the collection</source>
        <translation>Removed from the collection</translation>
    </message>
    <message id="toast.theCollection">
        <source>the collection</source>
        <translation>the collection</translation>
    </message>
    <message id="toast.tookCountOut" numerus="yes">
        <source>Removed %n saves from the collection</source>
        <translation>
            <numerusform>Removed %n save from the collection</numerusform>
            <numerusform>Removed %n saves from the collection</numerusform>
        </translation>
    </message>
    <message id="toast.trashEmptied">
        <source>Trash emptied</source>
        <translation>Trash emptied</translation>
    </message>
    <message id="undo.deleteCollection">
        <source>Delete Collection</source>
        <translation>Delete Collection</translation>
    </message>
    <message id="undo.editCollection">
        <source>Edit Collection</source>
        <translation>Edit Collection</translation>
    </message>
    <message id="undo.favourite">
        <source>Favourite</source>
        <translation>Favourite</translation>
    </message>
    <message id="undo.file">
        <source>Change Collection</source>
        <translation>Change Collection</translation>
    </message>
    <message id="undo.moveToTrash">
        <source>Move to Trash</source>
        <translation>Move to Trash</translation>
    </message>
    <message id="undo.newCollection">
        <source>New Collection</source>
        <translation>New Collection</translation>
    </message>
    <message id="undo.removeTag">
        <source>Remove Tag</source>
        <translation>Remove Tag</translation>
    </message>
    <message id="undo.restore">
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
    <message id="undo.tag">
        <source>Add Tag</source>
        <translation>Add Tag</translation>
    </message>
</context>
</TS>
