<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name></name>
    <message id="action.download">
        <source>Download %1</source>
        <translation>下载 %1</translation>
    </message>
    <message id="action.moveToTrash">
        <source>Move to Trash</source>
        <translation>移到回收站</translation>
    </message>
    <message id="action.openOnX">
        <source>Open on X</source>
        <translation>在 X 上打开</translation>
    </message>
    <message id="action.openPost">
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message id="action.play">
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message id="action.restore">
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message id="action.retry">
        <source>Retry</source>
        <translation>重试</translation>
    </message>
    <message id="action.undo">
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message id="bulk.deselect">
        <source>Deselect All</source>
        <translation>取消选择</translation>
    </message>
    <message id="bulk.download" numerus="yes">
        <source>Download %n · %1</source>
        <translation>
            <numerusform>下载 %n 项 · %1</numerusform>
        </translation>
    </message>
    <message id="bulk.favouriteAll">
        <source>Favourite All</source>
        <translation>全部收藏</translation>
    </message>
    <message id="bulk.fileIn">
        <source>Add to Collection</source>
        <translation>加入合集</translation>
    </message>
    <message id="bulk.hint">
        <source>Ctrl-click or Shift-click to choose more.
Delete moves the chosen saves to the Trash.</source>
        <translation>按住 Ctrl 或 Shift 点击可选择更多。
按 Delete 键将所选项目移到回收站。</translation>
    </message>
    <message id="bulk.kinds">
        <source>Videos · Pictures · Text</source>
        <translation>视频 · 图片 · 文本</translation>
    </message>
    <message id="bulk.onThisComputer">
        <source>On This Computer</source>
        <translation>在此电脑上</translation>
    </message>
    <message id="bulk.onThisComputerCount">
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message id="bulk.restore" numerus="yes">
        <source>Restore %n</source>
        <translation>
            <numerusform>恢复 %n 项</numerusform>
        </translation>
    </message>
    <message id="bulk.selected" numerus="yes">
        <source>%n Selected</source>
        <translation>
            <numerusform>已选择 %n 项</numerusform>
        </translation>
    </message>
    <message id="bulk.trash" numerus="yes">
        <source>Move %n to Trash</source>
        <translation>
            <numerusform>将 %n 项移到回收站</numerusform>
        </translation>
    </message>
    <message id="collection.label">
        <source>Collection</source>
        <translation>合集</translation>
    </message>
    <message id="collection.new">
        <source>New Collection…</source>
        <translation>新建合集…</translation>
    </message>
    <message id="collection.none">
        <source>No Collection</source>
        <translation>无合集</translation>
    </message>
    <message id="connection.notChecked">
        <source>Not checked yet</source>
        <translation>尚未检查</translation>
    </message>
    <message id="connection.reachable">
        <source>Connected</source>
        <translation>已连接</translation>
    </message>
    <message id="connection.reaching">
        <source>Connecting…</source>
        <translation>正在连接…</translation>
    </message>
    <message id="creator.cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="creator.filedHere">
        <source>The save will be filed here. </source>
        <translation>该内容将归入这里。</translation>
    </message>
    <message id="creator.hint">
        <source>Press Enter to %1.</source>
        <translation>按 Enter 键%1</translation>
    </message>
    <message id="creator.nameLabel">
        <source>Collection name</source>
        <translation>合集名称</translation>
    </message>
    <message id="creator.namePrompt">
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message id="inspector.ago">
        <source>%1 ago</source>
        <translation>%1前</translation>
    </message>
    <message id="inspector.close">
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message id="inspector.collection">
        <source>Collection</source>
        <translation>合集</translation>
    </message>
    <message id="inspector.copyLink">
        <source>Copy Link</source>
        <translation>复制链接</translation>
    </message>
    <message id="inspector.details">
        <source>Details</source>
        <translation>详细信息</translation>
    </message>
    <message id="inspector.downloading">
        <source>%1 of %2</source>
        <translation>%1 / %2</translation>
    </message>
    <message id="inspector.favourite">
        <source>Favourite</source>
        <translation>收藏</translation>
    </message>
    <message id="inspector.fileImage">
        <source>Picture · %1</source>
        <translation>图片 · %1</translation>
    </message>
    <message id="inspector.filePage">
        <source>Page · %1</source>
        <translation>网页 · %1</translation>
    </message>
    <message id="inspector.fileVideo">
        <source>Video · %1 · %2</source>
        <translation>视频 · %1 · %2</translation>
    </message>
    <message id="inspector.justNow">
        <source>Just now</source>
        <translation>刚刚</translation>
    </message>
    <message id="inspector.link">
        <source>Link</source>
        <translation>链接</translation>
    </message>
    <message id="inspector.localMedia">
        <source>Media on This Computer</source>
        <translation>这台电脑上的媒体</translation>
    </message>
    <message id="inspector.note">
        <source>Note</source>
        <translation>备注</translation>
    </message>
    <message id="inspector.notePrompt">
        <source>Add a note…</source>
        <translation>添加备注…</translation>
    </message>
    <message id="inspector.onlyLinked">
        <source>Only the link is saved</source>
        <translation>仅保存了链接</translation>
    </message>
    <message id="inspector.onlyLinkedDetail">
        <source>The media is not on this computer</source>
        <translation>媒体不在这台电脑上</translation>
    </message>
    <message id="inspector.openOriginal">
        <source>Open Original</source>
        <translation>打开原文</translation>
    </message>
    <message id="inspector.posted">
        <source>Posted %1</source>
        <translation>发布于 %1</translation>
    </message>
    <message id="inspector.removeLocalCopy">
        <source>Remove Download</source>
        <translation>删除下载内容</translation>
    </message>
    <message id="inspector.saved">
        <source>Saved</source>
        <translation>保存时间</translation>
    </message>
    <message id="inspector.showInFileManager">
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message id="inspector.tags">
        <source>Tags</source>
        <translation>标签</translation>
    </message>
    <message id="media.bytesProgress">
        <source>%1 of %2 bytes</source>
        <translation>%1 / %2 字节</translation>
    </message>
    <message id="media.downloading">
        <source>%1% of %2</source>
        <translation>%2 · %1%</translation>
    </message>
    <message id="media.failed">
        <source>Download failed</source>
        <translation>下载失败</translation>
    </message>
    <message id="media.favourite">
        <source>Favourite</source>
        <translation>收藏</translation>
    </message>
    <message id="media.imageCount" numerus="yes">
        <source>%n pictures</source>
        <translation>
            <numerusform>%n 张图片</numerusform>
        </translation>
    </message>
    <message id="media.imageMany">
        <source>%1 pictures</source>
        <translation>%1 张图片</translation>
    </message>
    <message id="media.imageOne">
        <source>%1 picture</source>
        <translation>%1 张图片</translation>
    </message>
    <message id="media.link">
        <source>Link</source>
        <translation>链接</translation>
    </message>
    <message id="media.next">
        <source>Next</source>
        <translation>下一张</translation>
    </message>
    <message id="media.notDownloaded">
        <source>Not downloaded</source>
        <translation>未下载</translation>
    </message>
    <message id="media.onThisComputer">
        <source>On this computer</source>
        <translation>在这台电脑上</translation>
    </message>
    <message id="media.percent">
        <source>%1 percent</source>
        <translation>百分之 %1</translation>
    </message>
    <message id="media.previous">
        <source>Previous</source>
        <translation>上一张</translation>
    </message>
    <message id="media.text">
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message id="media.video">
        <source>Video</source>
        <translation>视频</translation>
    </message>
    <message id="media.videoLength">
        <source>Video %1</source>
        <translation>视频 %1</translation>
    </message>
    <message id="media.videoMany">
        <source>%1 videos</source>
        <translation>%1 个视频</translation>
    </message>
    <message id="media.videoOne">
        <source>%1 video</source>
        <translation>%1 个视频</translation>
    </message>
    <message id="player.close">
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message id="player.openOriginal">
        <source>Open Original</source>
        <translation>打开原文</translation>
    </message>
    <message id="player.showInFileManager">
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message id="player.mute">
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message id="player.pause">
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message id="player.play">
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message id="player.position">
        <source>Playback Position</source>
        <translation>播放位置</translation>
    </message>
    <message id="player.unmute">
        <source>Unmute</source>
        <translation>取消静音</translation>
    </message>
    <message id="quickSave.copyLink">
        <source>Copy a link</source>
        <translation>先复制一个链接</translation>
    </message>
    <message id="quickSave.onClipboard">
        <source>On the Clipboard</source>
        <translation>剪贴板中</translation>
    </message>
    <message id="quickSave.openStashwell">
        <source>Open Stashwell</source>
        <translation>打开 Stashwell</translation>
    </message>
    <message id="quickSave.reading">
        <source>Reading %1…</source>
        <translation>正在读取 %1…</translation>
    </message>
    <message id="quickSave.recentlySaved">
        <source>Recently Saved</source>
        <translation>最近保存</translation>
    </message>
    <message id="quickSave.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="quickSave.settings">
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message id="quickSave.thenOpen">
        <source>then open this panel again</source>
        <translation>然后再次打开此面板</translation>
    </message>
    <message id="quickSave.title">
        <source>Quick Save</source>
        <translation>快速保存</translation>
    </message>
    <message id="saveLink.cancel">
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message id="saveLink.downloadMedia">
        <source>Download media</source>
        <translation>下载媒体</translation>
    </message>
    <message id="saveLink.fetchingButton">
        <source>Fetching…</source>
        <translation>正在获取…</translation>
    </message>
    <message id="saveLink.fetchPost">
        <source>Fetch Post</source>
        <translation>获取帖子</translation>
    </message>
    <message id="saveLink.fetching">
        <source>Fetching %1…</source>
        <translation>正在获取 %1…</translation>
    </message>
    <message id="saveLink.kicker">
        <source>New Save</source>
        <translation>新保存</translation>
    </message>
    <message id="saveLink.linkOnly">
        <source>link only</source>
        <translation>仅链接</translation>
    </message>
    <message id="saveLink.pasteAnywhere">
        <source>Paste a link anywhere in the window</source>
        <translation>可在窗口任意位置粘贴链接</translation>
    </message>
    <message id="saveLink.pitch">
        <source>Paste the link of a post on X or of any web page. Stashwell keeps it, with its media, on this computer.</source>
        <translation>粘贴 X 帖子或任意网页的链接。Stashwell 会把它连同媒体一起保存在这台电脑上。</translation>
    </message>
    <message id="saveLink.postURL">
        <source>Post or page link</source>
        <translation>帖子或网页链接</translation>
    </message>
    <message id="saveLink.quality">
        <source>Quality</source>
        <translation>画质</translation>
    </message>
    <message id="saveLink.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="saveLink.saveTo">
        <source>Save to</source>
        <translation>保存到</translation>
    </message>
    <message id="saveLink.title">
        <source>Save a Link</source>
        <translation>保存链接</translation>
    </message>
    <message id="saveLink.willDownload">
        <source>will download</source>
        <translation>将下载</translation>
    </message>
    <message id="saveMenu.copyLink">
        <source>Copy Link</source>
        <translation>复制链接</translation>
    </message>
    <message id="saveMenu.favourite">
        <source>Add to Favourites</source>
        <translation>添加到收藏</translation>
    </message>
    <message id="saveMenu.fileIn">
        <source>Add to Collection</source>
        <translation>加入合集</translation>
    </message>
    <message id="saveMenu.newCollection">
        <source>New Collection…</source>
        <translation>新建合集…</translation>
    </message>
    <message id="saveMenu.openOriginal">
        <source>Open Original</source>
        <translation>打开原文</translation>
    </message>
    <message id="saveMenu.removeLocalCopy">
        <source>Remove Download</source>
        <translation>删除下载内容</translation>
    </message>
    <message id="saveMenu.showInFileManager">
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message id="saveMenu.unfavourite">
        <source>Remove from Favourites</source>
        <translation>从收藏中移除</translation>
    </message>
    <message id="search.clear">
        <source>Clear Search</source>
        <translation>清除搜索</translation>
    </message>
    <message id="search.label">
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message id="search.prompt">
        <source>Search saves</source>
        <translation>搜索保存的内容</translation>
    </message>
    <message id="shelf.emptyMessage">
        <source>Copy a link and press Ctrl+V in this window, or drop a link onto it.</source>
        <translation>复制链接后在此窗口中按 Ctrl+V，或将链接拖放到窗口中。</translation>
    </message>
    <message id="shelf.grid">
        <source>Grid</source>
        <translation>网格</translation>
    </message>
    <message id="shelf.latestSave">
        <source>Latest Save</source>
        <translation>最新保存</translation>
    </message>
    <message id="shelf.list">
        <source>List</source>
        <translation>列表</translation>
    </message>
    <message id="shelf.savedJustNow">
        <source>Saved just now</source>
        <translation>刚刚保存</translation>
    </message>
    <message id="shelf.savedAgo">
        <source>Saved %1 ago</source>
        <translation>%1前保存</translation>
    </message>
    <message id="shelf.saveLink">
        <source>Save Link</source>
        <translation>保存链接</translation>
    </message>
    <message id="shelf.saveLinkHelp">
        <source>Save a link to a post or page</source>
        <translation>保存帖子或网页的链接</translation>
    </message>
    <message id="shelf.showDetails">
        <source>Show Details</source>
        <translation>显示详细信息</translation>
    </message>
    <message id="sidebar.allSaves">
        <source>All Saves</source>
        <translation>全部内容</translation>
    </message>
    <message id="sidebar.collections">
        <source>Collections</source>
        <translation>合集</translation>
    </message>
    <message id="sidebar.delete">
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message id="sidebar.edit">
        <source>Edit…</source>
        <translation>编辑…</translation>
    </message>
    <message id="sidebar.favourites">
        <source>Favourites</source>
        <translation>收藏</translation>
    </message>
    <message id="sidebar.filterBy">
        <source>Filter By</source>
        <translation>筛选</translation>
    </message>
    <message id="sidebar.image">
        <source>Pictures</source>
        <translation>图片</translation>
    </message>
    <message id="sidebar.library">
        <source>Library</source>
        <translation>资料库</translation>
    </message>
    <message id="sidebar.link">
        <source>Links</source>
        <translation>链接</translation>
    </message>
    <message id="sidebar.linkOnly">
        <source>Link Only</source>
        <translation>仅链接</translation>
    </message>
    <message id="sidebar.newCollection">
        <source>New Collection</source>
        <translation>新建合集</translation>
    </message>
    <message id="sidebar.pasteLink">
        <source>Paste a link</source>
        <translation>粘贴链接</translation>
    </message>
    <message id="sidebar.recentlyAdded">
        <source>Recently Added</source>
        <translation>最近添加</translation>
    </message>
    <message id="sidebar.settings">
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message id="sidebar.text">
        <source>Text</source>
        <translation>文本</translation>
    </message>
    <message id="sidebar.topAuthors">
        <source>Top Authors</source>
        <translation>常保存的作者</translation>
    </message>
    <message id="sidebar.trash">
        <source>Trash</source>
        <translation>回收站</translation>
    </message>
    <message id="sidebar.video">
        <source>Videos</source>
        <translation>视频</translation>
    </message>
    <message id="sidebar.web">
        <source>Web</source>
        <translation>网页</translation>
    </message>
    <message id="status.move">
        <source>Move</source>
        <translation>移动</translation>
    </message>
    <message id="status.openItem">
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message id="status.saveLink">
        <source>Save link</source>
        <translation>保存链接</translation>
    </message>
    <message id="status.search">
        <source>Search</source>
        <translation>搜索</translation>
    </message>
    <message id="status.summary" numerus="yes">
        <source>%n saves · %1 in %2</source>
        <translation>
            <numerusform>%n 项 · %2 中 %1</numerusform>
        </translation>
    </message>
    <message id="status.trash">
        <source>Trash</source>
        <translation>移到回收站</translation>
    </message>
    <message id="storage.downloadMissingMany">
        <source>Download %1 missing saves</source>
        <translation>下载缺失的 %1 项</translation>
    </message>
    <message id="storage.downloadMissingOne">
        <source>Download %1 missing save</source>
        <translation>下载缺失的 %1 项</translation>
    </message>
    <message id="storage.limit">
        <source>%1 · limit %2</source>
        <translation>%1 · 上限 %2</translation>
    </message>
    <message id="storage.onThisComputer">
        <source>On This Computer</source>
        <translation>在此电脑上</translation>
    </message>
    <message id="tag.add">
        <source>Add tag</source>
        <translation>添加标签</translation>
    </message>
    <message id="tag.remove">
        <source>Remove tag %1</source>
        <translation>移除标签“%1”</translation>
    </message>
    <message id="time.days">
        <source>%1 d</source>
        <translation>%1 天</translation>
    </message>
    <message id="time.hours">
        <source>%1 h</source>
        <translation>%1 小时</translation>
    </message>
    <message id="time.minutes">
        <source>%1 min</source>
        <translation>%1 分钟</translation>
    </message>
    <message id="time.now">
        <source>now</source>
        <translation>现在</translation>
    </message>
    <message id="time.weeks">
        <source>%1 wk</source>
        <translation>%1 周</translation>
    </message>
</context>
</TS>
