<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="library.archiveHeld">
        <source>Your library file could not be read and could not be set aside. To keep it safe, Stashwell will not save any changes until it is restarted.</source>
        <translation>无法读取资料库文件，也无法将其移到一旁。为保护该文件，在重新启动 Stashwell 之前不会保存任何更改。</translation>
    </message>
    <message id="library.archiveUnreadable">
        <source>Your library file could not be read. It was kept unchanged as “%1”, and nothing was deleted. Stashwell has started with an empty library.</source>
        <translation>无法读取资料库文件。该文件已原样保存为“%1”，没有删除任何内容。Stashwell 已使用空资料库启动。</translation>
    </message>
    <message id="library.archiveWriteFailed">
        <source>Your library could not be saved to disk. Your latest changes are kept while Stashwell is open, and it will try again with your next change.</source>
        <translation>无法将资料库保存到磁盘。最近的更改会在 Stashwell 打开期间保留，下次更改时将再次尝试保存。</translation>
    </message>
    <message id="library.cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="library.create">
        <source>Create</source>
        <translation>创建</translation>
    </message>
    <message id="library.delete">
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message id="library.deleteMessageMany">
        <source>%1 saves are filed in this collection. They stay in your library.</source>
        <translation>此合集中有 %1 项内容。这些内容会保留在资料库中。</translation>
    </message>
    <message id="library.deleteMessageOne">
        <source>%1 save is filed in this collection. It stays in your library.</source>
        <translation>此合集中有 %1 项内容。该内容会保留在资料库中。</translation>
    </message>
    <message id="library.deleteTitle">
        <source>Delete “%1”?</source>
        <translation>要删除合集“%1”吗？</translation>
    </message>
    <message id="library.deleteTitleUnnamed">
        <source>Delete this collection?</source>
        <translation>要删除此合集吗？</translation>
    </message>
    <message id="library.emptyTrash">
        <source>Empty Trash</source>
        <translation>清空回收站</translation>
    </message>
    <message id="library.emptyTrashMessage">
        <source>%1 in the Trash will be deleted for good. This can’t be undone.</source>
        <translation>回收站中的 %1将被永久删除。此操作无法撤销。</translation>
    </message>
    <message id="library.emptyTrashTitle">
        <source>Empty the Trash?</source>
        <translation>要清空回收站吗？</translation>
    </message>
    <message id="library.emptyTrashWithMedia">
        <source>%1 in the Trash and %2 of downloaded media will be deleted for good. This can’t be undone.</source>
        <translation>回收站中的 %1以及已下载的媒体（%2）将被永久删除。此操作无法撤销。</translation>
    </message>
    <message id="library.leftBehindMany">
        <source>%1 media files could not be deleted. They are still in %2.</source>
        <translation>有 %1 个媒体文件未能删除，它们仍在 %2 中。</translation>
    </message>
    <message id="library.leftBehindOne">
        <source>%1 media file could not be deleted. It is still in %2.</source>
        <translation>有 %1 个媒体文件未能删除，它仍在 %2 中。</translation>
    </message>
    <message id="library.leftBehindTitle">
        <source>Some files were not deleted</source>
        <translation>部分文件未能删除</translation>
    </message>
    <message id="library.nameTaken">
        <source>A collection named “%1” already exists.</source>
        <translation>已有名为“%1”的合集。</translation>
    </message>
    <message id="library.ok">
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message id="library.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="library.showInFileManager">
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message id="library.trashSavesMany">
        <source>%1 saves</source>
        <translation>%1 项内容</translation>
    </message>
    <message id="library.trashSavesOne">
        <source>%1 save</source>
        <translation>%1 项内容</translation>
    </message>
    <message id="menu.downloadMissing">
        <source>Download Missing</source>
        <translation>下载缺失的内容</translation>
    </message>
    <message id="menu.emptyTrash">
        <source>Empty Trash…</source>
        <translation>清空回收站…</translation>
    </message>
    <message id="menu.library">
        <source>Library</source>
        <translation>资料库</translation>
    </message>
    <message id="menu.saveLink">
        <source>Save Link…</source>
        <translation>保存链接…</translation>
    </message>
    <message id="menu.quickSave">
        <source>Quick Save…</source>
        <translation>快速保存…</translation>
    </message>
    <message id="menu.openStashwell">
        <source>Open Stashwell</source>
        <translation>打开 Stashwell</translation>
    </message>
    <message id="menu.settings">
        <source>Settings…</source>
        <translation>设置…</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Stashwell</source>
        <translation>退出 Stashwell</translation>
    </message>
    <message id="menu.file">
        <source>File</source>
        <translation>文件</translation>
    </message>
    <message id="menu.edit">
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message id="menu.close">
        <source>Close Window</source>
        <translation>关闭窗口</translation>
    </message>
    <message id="menu.undo">
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message id="menu.redo">
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message id="menu.cut">
        <source>Cut</source>
        <translation>剪切</translation>
    </message>
    <message id="menu.copy">
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message id="menu.paste">
        <source>Paste</source>
        <translation>粘贴</translation>
    </message>
    <message id="menu.selectAll">
        <source>Select All</source>
        <translation>全选</translation>
    </message>
    <message id="network.apply">
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message id="network.connection">
        <source>Connection</source>
        <translation>连接</translation>
    </message>
    <message id="network.direct">
        <source>Direct</source>
        <translation>直连</translation>
    </message>
    <message id="network.directNote">
        <source>Stashwell connects to X and to web pages directly, without a proxy.</source>
        <translation>不使用代理，直接连接 X 和网页。</translation>
    </message>
    <message id="network.host">
        <source>Host</source>
        <translation>主机</translation>
    </message>
    <message id="network.hostNotStorable">
        <source>This host can’t be stored as written. Enter a host name or an address, and put an IPv6 address in brackets, like [::1].</source>
        <translation>此主机无法按原样保存。请输入主机名或地址，IPv6 地址请用方括号括起，例如 [::1]。</translation>
    </message>
    <message id="network.http">
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message id="network.httpNote">
        <source>Stashwell connects through the HTTP proxy at this host and port.</source>
        <translation>通过此主机和端口上的 HTTP 代理连接。</translation>
    </message>
    <message id="network.pasteFromTerminal">
        <source>Paste from Terminal</source>
        <translation>从终端粘贴</translation>
    </message>
    <message id="network.pasteNote">
        <source>Paste the proxy lines you export in your shell. Stashwell fills in the form, applies the proxy and tests the connection.</source>
        <translation>粘贴在 shell 中用 export 设置代理的命令行，Stashwell 会填写表单、应用代理并测试连接。</translation>
    </message>
    <message id="network.port">
        <source>Port</source>
        <translation>端口</translation>
    </message>
    <message id="network.proxy">
        <source>Proxy</source>
        <translation>代理</translation>
    </message>
    <message id="network.socks">
        <source>SOCKS</source>
        <translation>SOCKS</translation>
    </message>
    <message id="network.socksNote">
        <source>Stashwell connects through the SOCKS proxy at this host and port.</source>
        <translation>通过此主机和端口上的 SOCKS 代理连接。</translation>
    </message>
    <message id="network.system">
        <source>System</source>
        <translation>系统</translation>
    </message>
    <message id="network.systemNote">
        <source>Stashwell uses the system’s proxy settings.</source>
        <translation>使用系统的代理设置。</translation>
    </message>
    <message id="network.test">
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message id="network.use">
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message id="quickSave.alreadyIn">
        <source>Already in your library</source>
        <translation>已在资料库中</translation>
    </message>
    <message id="quickSave.unreadable">
        <source>Couldn’t read a post or page from the copied text</source>
        <translation>无法从复制的文本中读取帖子或网页</translation>
    </message>
    <message id="refusal.alreadyDownloading">
        <source>This save is already downloading.</source>
        <translation>该内容已在下载中。</translation>
    </message>
    <message id="refusal.alreadyOnThisComputer">
        <source>This save’s media is already on this computer.</source>
        <translation>该内容的媒体已在这台电脑上。</translation>
    </message>
    <message id="refusal.nameEmpty">
        <source>A collection needs a name.</source>
        <translation>请输入合集名称。</translation>
    </message>
    <message id="refusal.nameTaken">
        <source>Another collection already has this name.</source>
        <translation>已有同名的合集。</translation>
    </message>
    <message id="refusal.noSuchCollection">
        <source>This collection no longer exists.</source>
        <translation>该合集已不存在。</translation>
    </message>
    <message id="refusal.notALink">
        <source>This isn’t a valid link.</source>
        <translation>这不是有效的链接。</translation>
    </message>
    <message id="refusal.notAPost">
        <source>This link doesn’t point to a post.</source>
        <translation>此链接没有指向帖子。</translation>
    </message>
    <message id="refusal.nothingToDownload">
        <source>This save has no media to download.</source>
        <translation>该内容没有可下载的媒体。</translation>
    </message>
    <message id="refusal.overBudget">
        <source>This download needs %1, but only %2 is left under the media limit.</source>
        <translation>此下载需要 %1，但距媒体上限仅剩 %2。</translation>
    </message>
    <message id="refusal.unreachable">
        <source>Couldn’t reach the post or page. Check your connection and try again.</source>
        <translation>无法获取帖子或网页。请检查网络连接后重试。</translation>
    </message>
    <message id="settings.appearance">
        <source>Appearance</source>
        <translation>外观</translation>
    </message>
    <message id="settings.appearanceNote">
        <source>Choose the theme and the look of the library window.</source>
        <translation>选择主题和资料库窗口的外观。</translation>
    </message>
    <message id="settings.downloadOnSave">
        <source>Download media when saving</source>
        <translation>保存时下载媒体</translation>
    </message>
    <message id="settings.downloads">
        <source>Downloads</source>
        <translation>下载</translation>
    </message>
    <message id="settings.downloadsNote">
        <source>Media is kept in the media folder on this computer, within the limit you set.</source>
        <translation>媒体保存在这台电脑的媒体文件夹中，不会超过你设定的上限。</translation>
    </message>
    <message id="settings.general">
        <source>General</source>
        <translation>通用</translation>
    </message>
    <message id="settings.glass">
        <source>Glass</source>
        <translation>玻璃</translation>
    </message>
    <message id="settings.language">
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message id="settings.languageNote">
        <source>A new language takes effect when Stashwell relaunches.</source>
        <translation>更改的语言将在 Stashwell 重新启动后生效。</translation>
    </message>
    <message id="settings.languageSystem">
        <source>System</source>
        <translation>跟随系统</translation>
    </message>
    <message id="settings.libraryWindow">
        <source>Library Window</source>
        <translation>资料库窗口</translation>
    </message>
    <message id="settings.mediaFolder">
        <source>Media Folder</source>
        <translation>媒体文件夹</translation>
    </message>
    <message id="settings.mediaLimit">
        <source>Media Limit</source>
        <translation>媒体上限</translation>
    </message>
    <message id="settings.network">
        <source>Network</source>
        <translation>网络</translation>
    </message>
    <message id="settings.relaunch">
        <source>Relaunch</source>
        <translation>重新启动</translation>
    </message>
    <message id="settings.showInFileManager">
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message id="settings.solid">
        <source>Solid</source>
        <translation>不透明</translation>
    </message>
    <message id="settings.theme">
        <source>Theme</source>
        <translation>主题</translation>
    </message>
    <message id="settings.themeDark">
        <source>Dark</source>
        <translation>深色</translation>
    </message>
    <message id="settings.themeLight">
        <source>Light</source>
        <translation>浅色</translation>
    </message>
    <message id="settings.themeSystem">
        <source>System</source>
        <translation>跟随系统</translation>
    </message>
    <message id="settings.title">
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message id="settings.videoQuality">
        <source>Video Quality</source>
        <translation>视频画质</translation>
    </message>
    <message id="shelf.allSaves">
        <source>All Saves</source>
        <translation>全部内容</translation>
    </message>
    <message id="shelf.downloadMissing" numerus="yes">
        <source>Download %n missing · %1</source>
        <translation>
            <numerusform>下载缺失的 %n 项 · %1</numerusform>
        </translation>
    </message>
    <message id="shelf.emptyTitle">
        <source>Nothing here yet</source>
        <translation>这里还没有内容</translation>
    </message>
    <message id="shelf.itemMany">
        <source>%1 items</source>
        <translation>%1 项</translation>
    </message>
    <message id="shelf.itemOne">
        <source>%1 item</source>
        <translation>%1 项</translation>
    </message>
    <message id="shelf.matching">
        <source>%1 matching “%2”</source>
        <translation>“%2”的搜索结果：%1</translation>
    </message>
    <message id="shelf.noMatch">
        <source>No results for “%1”</source>
        <translation>没有与“%1”匹配的内容</translation>
    </message>
    <message id="shelf.recentlyAdded">
        <source>Recently Added</source>
        <translation>最近添加</translation>
    </message>
    <message id="shelf.viewAll">
        <source>View All</source>
        <translation>查看全部</translation>
    </message>
    <message id="title.allSaves">
        <source>All Saves</source>
        <translation>全部内容</translation>
    </message>
    <message id="title.collection">
        <source>Collection</source>
        <translation>合集</translation>
    </message>
    <message id="title.favourites">
        <source>Favourites</source>
        <translation>收藏</translation>
    </message>
    <message id="title.images">
        <source>Pictures</source>
        <translation>图片</translation>
    </message>
    <message id="title.linkOnly">
        <source>Link Only</source>
        <translation>仅链接</translation>
    </message>
    <message id="title.links">
        <source>Links</source>
        <translation>链接</translation>
    </message>
    <message id="title.onThisComputer">
        <source>On This Computer</source>
        <translation>在此电脑上</translation>
    </message>
    <message id="title.recentlyAdded">
        <source>Recently Added</source>
        <translation>最近添加</translation>
    </message>
    <message id="title.savedCount" numerus="yes">
        <source>%n saved</source>
        <translation>
            <numerusform>已保存 %n 项</numerusform>
        </translation>
    </message>
    <message id="title.textPosts">
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message id="title.trash">
        <source>Trash</source>
        <translation>回收站</translation>
    </message>
    <message id="title.videos">
        <source>Videos</source>
        <translation>视频</translation>
    </message>
    <message id="title.web">
        <source>Web</source>
        <translation>网页</translation>
    </message>
    <message id="toast.deleted">
        <source>Deleted “%1”</source>
        <translation>已删除“%1”</translation>
    </message>
    <message id="toast.downloadedTo" numerus="yes">
        <source>%n saves downloaded to %1</source>
        <translation>
            <numerusform>已将 %n 项下载到 %1</numerusform>
        </translation>
    </message>
    <message id="toast.downloading" numerus="yes">
        <source>Downloading %n saves</source>
        <translation>
            <numerusform>正在下载 %n 项</numerusform>
        </translation>
    </message>
    <message id="toast.edited">
        <source>Updated “%1”</source>
        <translation>已更新“%1”</translation>
    </message>
    <message id="toast.filedCountIn" numerus="yes">
        <source>Added %n saves to %1</source>
        <translation>
            <numerusform>已将 %n 项加入“%1”</numerusform>
        </translation>
    </message>
    <message id="toast.filedIn">
        <source>Added to %1</source>
        <translation>已加入“%1”</translation>
    </message>
    <message id="toast.linkCopied">
        <source>Link copied</source>
        <translation>已复制链接</translation>
    </message>
    <message id="toast.localCopyRemoved">
        <source>Download removed</source>
        <translation>已删除下载内容</translation>
    </message>
    <message id="toast.made">
        <source>Created “%1”</source>
        <translation>已创建“%1”</translation>
    </message>
    <message id="toast.madeAndFiled">
        <source>Created “%1” and added the save</source>
        <translation>已创建“%1”并加入该内容</translation>
    </message>
    <message id="toast.movedCountToTrash" numerus="yes">
        <source>Moved %n saves to the Trash</source>
        <translation>
            <numerusform>已将 %n 项移到回收站</numerusform>
        </translation>
    </message>
    <message id="toast.movedToTrash">
        <source>Moved to the Trash</source>
        <translation>已移到回收站</translation>
    </message>
    <message id="toast.restored">
        <source>Restored</source>
        <translation>已恢复</translation>
    </message>
    <message id="toast.restoredCount" numerus="yes">
        <source>Restored %n saves</source>
        <translation>
            <numerusform>已恢复 %n 项</numerusform>
        </translation>
    </message>
    <message id="toast.saved">
        <source>Saved</source>
        <translation>已保存</translation>
    </message>
    <message id="toast.savedDownloading">
        <source>Saved · downloading media</source>
        <translation>已保存 · 正在下载媒体</translation>
    </message>
    <message id="toast.savedTo">
        <source>Saved to %1</source>
        <translation>已保存到 %1</translation>
    </message>
    <message id="toast.starredCount" numerus="yes">
        <source>Added %n saves to Favourites</source>
        <translation>
            <numerusform>已将 %n 项添加到收藏</numerusform>
        </translation>
    </message>
    <message id="toast.starredIt">
        <source>Added to Favourites</source>
        <translation>已添加到收藏</translation>
    </message>
    <message id="toast.takenOut">
        <source>Removed from the collection</source>
        <translation>已移出合集</translation>
    </message>
    <message id="toast.theCollection">
        <source>the collection</source>
        <translation>合集</translation>
    </message>
    <message id="toast.tookCountOut" numerus="yes">
        <source>Removed %n saves from the collection</source>
        <translation>
            <numerusform>已将 %n 项移出合集</numerusform>
        </translation>
    </message>
    <message id="toast.trashEmptied">
        <source>Trash emptied</source>
        <translation>已清空回收站</translation>
    </message>
    <message id="undo.deleteCollection">
        <source>Delete Collection</source>
        <translation>删除合集</translation>
    </message>
    <message id="undo.editCollection">
        <source>Edit Collection</source>
        <translation>编辑合集</translation>
    </message>
    <message id="undo.favourite">
        <source>Favourite</source>
        <translation>收藏</translation>
    </message>
    <message id="undo.file">
        <source>Change Collection</source>
        <translation>更改合集</translation>
    </message>
    <message id="undo.moveToTrash">
        <source>Move to Trash</source>
        <translation>移到回收站</translation>
    </message>
    <message id="undo.newCollection">
        <source>New Collection</source>
        <translation>新建合集</translation>
    </message>
    <message id="undo.removeTag">
        <source>Remove Tag</source>
        <translation>移除标签</translation>
    </message>
    <message id="undo.restore">
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message id="undo.tag">
        <source>Add Tag</source>
        <translation>添加标签</translation>
    </message>
</context>
</TS>
