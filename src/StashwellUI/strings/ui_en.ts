<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name></name>
    <message id="action.download">
        <source>Download %1</source>
        <translation>Download %1</translation>
    </message>
    <message id="action.moveToTrash">
        <source>Move to Trash</source>
        <translation>Move to Trash</translation>
    </message>
    <message id="action.openOnX">
        <source>Open on X</source>
        <translation>Open on X</translation>
    </message>
    <message id="action.openPost">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="action.play">
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message id="action.restore">
        <source>Restore</source>
        <translation>Restore</translation>
    </message>
    <message id="action.retry">
        <source>Retry</source>
        <translation>Retry</translation>
    </message>
    <message id="action.undo">
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message id="bulk.deselect">
        <source>Deselect All</source>
        <translation>Deselect All</translation>
    </message>
    <message id="bulk.download" numerus="yes">
        <source>Download %n · %1</source>
        <translation>
            <numerusform>Download %n · %1</numerusform>
            <numerusform>Download %n · %1</numerusform>
        </translation>
    </message>
    <message id="bulk.favouriteAll">
        <source>Favourite All</source>
        <translation>Favourite All</translation>
    </message>
    <message id="bulk.fileIn">
        <source>Add to Collection</source>
        <translation>Add to Collection</translation>
    </message>
    <message id="bulk.hint">
        <source>Ctrl-click or Shift-click to choose more.
Delete moves the chosen saves to the Trash.</source>
        <translation>Ctrl-click or Shift-click to choose more.
Delete moves the chosen saves to the Trash.</translation>
    </message>
    <message id="bulk.kinds">
        <source>Videos · Pictures · Text</source>
        <translation>Videos · Pictures · Text</translation>
    </message>
    <message id="bulk.onThisComputer">
        <source>On This Computer</source>
        <translation>On This Computer</translation>
    </message>
    <message id="bulk.onThisComputerCount">
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message id="bulk.restore" numerus="yes">
        <source>Restore %n</source>
        <translation>
            <numerusform>Restore %n</numerusform>
            <numerusform>Restore %n</numerusform>
        </translation>
    </message>
    <message id="bulk.selected" numerus="yes">
        <source>%n Selected</source>
        <translation>
            <numerusform>%n Selected</numerusform>
            <numerusform>%n Selected</numerusform>
        </translation>
    </message>
    <message id="bulk.trash" numerus="yes">
        <source>Move %n to Trash</source>
        <translation>
            <numerusform>Move %n to Trash</numerusform>
            <numerusform>Move %n to Trash</numerusform>
        </translation>
    </message>
    <message id="collection.label">
        <source>Collection</source>
        <translation>Collection</translation>
    </message>
    <message id="collection.new">
        <source>New Collection…</source>
        <translation>New Collection…</translation>
    </message>
    <message id="collection.none">
        <source>No Collection</source>
        <translation>No Collection</translation>
    </message>
    <message id="connection.notChecked">
        <source>Not checked yet</source>
        <translation>Not checked yet</translation>
    </message>
    <message id="connection.reachable">
        <source>Connected</source>
        <translation>Connected</translation>
    </message>
    <message id="connection.reaching">
        <source>Connecting…</source>
        <translation>Connecting…</translation>
    </message>
    <message id="creator.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="creator.filedHere">
        <source>The save will be filed here. </source>
        <translation>The save will be filed here. </translation>
    </message>
    <message id="creator.hint">
        <source>Press Enter to %1.</source>
        <translation>Press Enter to %1.</translation>
    </message>
    <message id="creator.nameLabel">
        <source>Collection name</source>
        <translation>Collection name</translation>
    </message>
    <message id="creator.namePrompt">
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message id="inspector.ago">
        <source>%1 ago</source>
        <translation>%1 ago</translation>
    </message>
    <message id="inspector.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="inspector.collection">
        <source>Collection</source>
        <translation>Collection</translation>
    </message>
    <message id="inspector.copyLink">
        <source>Copy Link</source>
        <translation>Copy Link</translation>
    </message>
    <message id="inspector.details">
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message id="inspector.downloading">
        <source>%1 of %2</source>
        <translation>%1 of %2</translation>
    </message>
    <message id="inspector.favourite">
        <source>Favourite</source>
        <translation>Favourite</translation>
    </message>
    <message id="inspector.fileImage">
        <source>Picture · %1</source>
        <translation>Picture · %1</translation>
    </message>
    <message id="inspector.filePage">
        <source>Page · %1</source>
        <translation>Page · %1</translation>
    </message>
    <message id="inspector.fileVideo">
        <source>Video · %1 · %2</source>
        <translation>Video · %1 · %2</translation>
    </message>
    <message id="inspector.justNow">
        <source>Just now</source>
        <translation>Just now</translation>
    </message>
    <message id="inspector.link">
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message id="inspector.localMedia">
        <source>Media on This Computer</source>
        <translation>Media on This Computer</translation>
    </message>
    <message id="inspector.note">
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message id="inspector.notePrompt">
        <source>Add a note…</source>
        <translation>Add a note…</translation>
    </message>
    <message id="inspector.onlyLinked">
        <source>Only the link is saved</source>
        <translation>Only the link is saved</translation>
    </message>
    <message id="inspector.onlyLinkedDetail">
        <source>The media is not on this computer</source>
        <translation>The media is not on this computer</translation>
    </message>
    <message id="inspector.openOriginal">
        <source>Open Original</source>
        <translation>Open Original</translation>
    </message>
    <message id="inspector.posted">
        <source>Posted %1</source>
        <translation>Posted %1</translation>
    </message>
    <message id="inspector.removeLocalCopy">
        <source>Remove Download</source>
        <translation>Remove Download</translation>
    </message>
    <message id="inspector.saved">
        <source>Saved</source>
        <translation>Saved</translation>
    </message>
    <message id="inspector.showInFileManager">
        <source>Show in Folder</source>
        <translation>Show in Folder</translation>
    </message>
    <message id="inspector.tags">
        <source>Tags</source>
        <translation>Tags</translation>
    </message>
    <message id="media.bytesProgress">
        <source>%1 of %2 bytes</source>
        <translation>%1 of %2 bytes</translation>
    </message>
    <message id="media.downloading">
        <source>%1% of %2</source>
        <translation>%1% of %2</translation>
    </message>
    <message id="media.failed">
        <source>Download failed</source>
        <translation>Download failed</translation>
    </message>
    <message id="media.favourite">
        <source>Favourite</source>
        <translation>Favourite</translation>
    </message>
    <message id="media.imageCount" numerus="yes">
        <source>%n pictures</source>
        <translation>
            <numerusform>%n picture</numerusform>
            <numerusform>%n pictures</numerusform>
        </translation>
    </message>
    <message id="media.imageMany">
        <source>%1 pictures</source>
        <translation>%1 pictures</translation>
    </message>
    <message id="media.imageOne">
        <source>%1 picture</source>
        <translation>%1 picture</translation>
    </message>
    <message id="media.link">
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message id="media.next">
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message id="media.notDownloaded">
        <source>Not downloaded</source>
        <translation>Not downloaded</translation>
    </message>
    <message id="media.onThisComputer">
        <source>On this computer</source>
        <translation>On this computer</translation>
    </message>
    <message id="media.percent">
        <source>%1 percent</source>
        <translation>%1 percent</translation>
    </message>
    <message id="media.previous">
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message id="media.text">
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message id="media.video">
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message id="media.videoLength">
        <source>Video %1</source>
        <translation>Video %1</translation>
    </message>
    <message id="media.videoMany">
        <source>%1 videos</source>
        <translation>%1 videos</translation>
    </message>
    <message id="media.videoOne">
        <source>%1 video</source>
        <translation>%1 video</translation>
    </message>
    <message id="player.close">
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message id="player.openOriginal">
        <source>Open Original</source>
        <translation>Open Original</translation>
    </message>
    <message id="player.showInFileManager">
        <source>Show in Folder</source>
        <translation>Show in Folder</translation>
    </message>
    <message id="player.mute">
        <source>Mute</source>
        <translation>Mute</translation>
    </message>
    <message id="player.pause">
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message id="player.play">
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message id="player.position">
        <source>Playback Position</source>
        <translation>Playback Position</translation>
    </message>
    <message id="player.unmute">
        <source>Unmute</source>
        <translation>Unmute</translation>
    </message>
    <message id="quickSave.copyLink">
        <source>Copy a link</source>
        <translation>Copy a link</translation>
    </message>
    <message id="quickSave.onClipboard">
        <source>On the Clipboard</source>
        <translation>On the Clipboard</translation>
    </message>
    <message id="quickSave.openStashwell">
        <source>Open Stashwell</source>
        <translation>Open Stashwell</translation>
    </message>
    <message id="quickSave.reading">
        <source>Reading %1…</source>
        <translation>Reading %1…</translation>
    </message>
    <message id="quickSave.recentlySaved">
        <source>Recently Saved</source>
        <translation>Recently Saved</translation>
    </message>
    <message id="quickSave.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="quickSave.settings">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="quickSave.thenOpen">
        <source>then open this panel again</source>
        <translation>then open this panel again</translation>
    </message>
    <message id="quickSave.title">
        <source>Quick Save</source>
        <translation>Quick Save</translation>
    </message>
    <message id="saveLink.cancel">
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message id="saveLink.downloadMedia">
        <source>Download media</source>
        <translation>Download media</translation>
    </message>
    <message id="saveLink.fetchingButton">
        <source>Fetching…</source>
        <translation>Fetching…</translation>
    </message>
    <message id="saveLink.fetchPost">
        <source>Fetch Post</source>
        <translation>Fetch Post</translation>
    </message>
    <message id="saveLink.fetching">
        <source>Fetching %1…</source>
        <translation>Fetching %1…</translation>
    </message>
    <message id="saveLink.kicker">
        <source>New Save</source>
        <translation>New Save</translation>
    </message>
    <message id="saveLink.linkOnly">
        <source>link only</source>
        <translation>link only</translation>
    </message>
    <message id="saveLink.pasteAnywhere">
        <source>Paste a link anywhere in the window</source>
        <translation>Paste a link anywhere in the window</translation>
    </message>
    <message id="saveLink.pitch">
        <source>Paste the link of a post on X or of any web page. Stashwell keeps it, with its media, on this computer.</source>
        <translation>Paste the link of a post on X or of any web page. Stashwell keeps it, with its media, on this computer.</translation>
    </message>
    <message id="saveLink.postURL">
        <source>Post or page link</source>
        <translation>Post or page link</translation>
    </message>
    <message id="saveLink.quality">
        <source>Quality</source>
        <translation>Quality</translation>
    </message>
    <message id="saveLink.save">
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message id="saveLink.saveTo">
        <source>Save to</source>
        <translation>Save to</translation>
    </message>
    <message id="saveLink.title">
        <source>Save a Link</source>
        <translation>Save a Link</translation>
    </message>
    <message id="saveLink.willDownload">
        <source>will download</source>
        <translation>will download</translation>
    </message>
    <message id="saveMenu.copyLink">
        <source>Copy Link</source>
        <translation>Copy Link</translation>
    </message>
    <message id="saveMenu.favourite">
        <source>Add to Favourites</source>
        <translation>Add to Favourites</translation>
    </message>
    <message id="saveMenu.fileIn">
        <source>Add to Collection</source>
        <translation>Add to Collection</translation>
    </message>
    <message id="saveMenu.newCollection">
        <source>New Collection…</source>
        <translation>New Collection…</translation>
    </message>
    <message id="saveMenu.openOriginal">
        <source>Open Original</source>
        <translation>Open Original</translation>
    </message>
    <message id="saveMenu.removeLocalCopy">
        <source>Remove Download</source>
        <translation>Remove Download</translation>
    </message>
    <message id="saveMenu.showInFileManager">
        <source>Show in Folder</source>
        <translation>Show in Folder</translation>
    </message>
    <message id="saveMenu.unfavourite">
        <source>Remove from Favourites</source>
        <translation>Remove from Favourites</translation>
    </message>
    <message id="search.clear">
        <source>Clear Search</source>
        <translation>Clear Search</translation>
    </message>
    <message id="search.label">
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message id="search.prompt">
        <source>Search saves</source>
        <translation>Search saves</translation>
    </message>
    <message id="shelf.emptyMessage">
        <source>Copy a link and press Ctrl+V in this window, or drop a link onto it.</source>
        <translation>Copy a link and press Ctrl+V in this window, or drop a link onto it.</translation>
    </message>
    <message id="shelf.grid">
        <source>Grid</source>
        <translation>Grid</translation>
    </message>
    <message id="shelf.latestSave">
        <source>Latest Save</source>
        <translation>Latest Save</translation>
    </message>
    <message id="shelf.list">
        <source>List</source>
        <translation>List</translation>
    </message>
    <message id="shelf.savedJustNow">
        <source>Saved just now</source>
        <translation>Saved just now</translation>
    </message>
    <message id="shelf.savedAgo">
        <source>Saved %1 ago</source>
        <translation>Saved %1 ago</translation>
    </message>
    <message id="shelf.saveLink">
        <source>Save Link</source>
        <translation>Save Link</translation>
    </message>
    <message id="shelf.saveLinkHelp">
        <source>Save a link to a post or page</source>
        <translation>Save a link to a post or page</translation>
    </message>
    <message id="shelf.showDetails">
        <source>Show Details</source>
        <translation>Show Details</translation>
    </message>
    <message id="sidebar.allSaves">
        <source>All Saves</source>
        <translation>All Saves</translation>
    </message>
    <message id="sidebar.collections">
        <source>Collections</source>
        <translation>Collections</translation>
    </message>
    <message id="sidebar.delete">
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message id="sidebar.edit">
        <source>Edit…</source>
        <translation>Edit…</translation>
    </message>
    <message id="sidebar.favourites">
        <source>Favourites</source>
        <translation>Favourites</translation>
    </message>
    <message id="sidebar.filterBy">
        <source>Filter By</source>
        <translation>Filter By</translation>
    </message>
    <message id="sidebar.image">
        <source>Pictures</source>
        <translation>Pictures</translation>
    </message>
    <message id="sidebar.library">
        <source>Library</source>
        <translation>Library</translation>
    </message>
    <message id="sidebar.link">
        <source>Links</source>
        <translation>Links</translation>
    </message>
    <message id="sidebar.linkOnly">
        <source>Link Only</source>
        <translation>Link Only</translation>
    </message>
    <message id="sidebar.newCollection">
        <source>New Collection</source>
        <translation>New Collection</translation>
    </message>
    <message id="sidebar.pasteLink">
        <source>Paste a link</source>
        <translation>Paste a link</translation>
    </message>
    <message id="sidebar.recentlyAdded">
        <source>Recently Added</source>
        <translation>Recently Added</translation>
    </message>
    <message id="sidebar.settings">
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message id="sidebar.text">
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message id="sidebar.topAuthors">
        <source>Top Authors</source>
        <translation>Top Authors</translation>
    </message>
    <message id="sidebar.trash">
        <source>Trash</source>
        <translation>Trash</translation>
    </message>
    <message id="sidebar.video">
        <source>Videos</source>
        <translation>Videos</translation>
    </message>
    <message id="sidebar.web">
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message id="status.move">
        <source>Move</source>
        <translation>Move</translation>
    </message>
    <message id="status.openItem">
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message id="status.saveLink">
        <source>Save link</source>
        <translation>Save link</translation>
    </message>
    <message id="status.search">
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message id="status.summary" numerus="yes">
        <source>%n saves · %1 in %2</source>
        <translation>
            <numerusform>%n save · %1 in %2</numerusform>
            <numerusform>%n saves · %1 in %2</numerusform>
        </translation>
    </message>
    <message id="status.trash">
        <source>Trash</source>
        <translation>Trash</translation>
    </message>
    <message id="storage.downloadMissingMany">
        <source>Download %1 missing saves</source>
        <translation>Download %1 missing saves</translation>
    </message>
    <message id="storage.downloadMissingOne">
        <source>Download %1 missing save</source>
        <translation>Download %1 missing save</translation>
    </message>
    <message id="storage.limit">
        <source>%1 · limit %2</source>
        <translation>%1 · limit %2</translation>
    </message>
    <message id="storage.onThisComputer">
        <source>On This Computer</source>
        <translation>On This Computer</translation>
    </message>
    <message id="tag.add">
        <source>Add tag</source>
        <translation>Add tag</translation>
    </message>
    <message id="tag.remove">
        <source>Remove tag %1</source>
        <translation>Remove tag %1</translation>
    </message>
    <message id="time.days">
        <source>%1 d</source>
        <translation>%1 d</translation>
    </message>
    <message id="time.hours">
        <source>%1 h</source>
        <translation>%1 h</translation>
    </message>
    <message id="time.minutes">
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message id="time.now">
        <source>now</source>
        <translation>now</translation>
    </message>
    <message id="time.weeks">
        <source>%1 wk</source>
        <translation>%1 wk</translation>
    </message>
</context>
</TS>
