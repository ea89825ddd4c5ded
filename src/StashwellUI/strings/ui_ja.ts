<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name></name>
    <message id="action.download">
        <source>Download %1</source>
        <translation>ダウンロード %1</translation>
    </message>
    <message id="action.moveToTrash">
        <source>Move to Trash</source>
        <translation>ゴミ箱に移動</translation>
    </message>
    <message id="action.openOnX">
        <source>Open on X</source>
        <translation>Xで開く</translation>
    </message>
    <message id="action.openPost">
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message id="action.play">
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message id="action.restore">
        <source>Restore</source>
        <translation>復元</translation>
    </message>
    <message id="action.retry">
        <source>Retry</source>
        <translation>再試行</translation>
    </message>
    <message id="action.undo">
        <source>Undo</source>
        <translation>取り消す</translation>
    </message>
    <message id="bulk.deselect">
        <source>Deselect All</source>
        <translation>選択を解除</translation>
    </message>
    <message id="bulk.download" numerus="yes">
        <source>Download %n · %1</source>
        <translation>
            <numerusform>%n件をダウンロード · %1</numerusform>
        </translation>
    </message>
    <message id="bulk.favouriteAll">
        <source>Favourite All</source>
        <translation>すべてお気に入りに追加</translation>
    </message>
    <message id="bulk.fileIn">
        <source>Add to Collection</source>
        <translation>コレクションに追加</translation>
    </message>
    <message id="bulk.hint">
        <source>Ctrl-click or Shift-click to choose more.
Delete moves the chosen saves to the Trash.</source>
        <translation>Ctrl または Shift を押しながらクリックで追加選択。
Delete キーで選択した項目をゴミ箱に移動。</translation>
    </message>
    <message id="bulk.kinds">
        <source>Videos · Pictures · Text</source>
        <translation>動画 · 画像 · テキスト</translation>
    </message>
    <message id="bulk.onThisComputer">
        <source>On This Computer</source>
        <translation>このコンピュータ上</translation>
    </message>
    <message id="bulk.onThisComputerCount">
        <source>%1 of %2</source>
        <translation>%2件中%1件</translation>
    </message>
    <message id="bulk.restore" numerus="yes">
        <source>Restore %n</source>
        <translation>
            <numerusform>%n件を復元</numerusform>
        </translation>
    </message>
    <message id="bulk.selected" numerus="yes">
        <source>%n Selected</source>
        <translation>
            <numerusform>%n件を選択中</numerusform>
        </translation>
    </message>
    <message id="bulk.trash" numerus="yes">
        <source>Move %n to Trash</source>
        <translation>
            <numerusform>%n件をゴミ箱に移動</numerusform>
        </translation>
    </message>
    <message id="collection.label">
        <source>Collection</source>
        <translation>コレクション</translation>
    </message>
    <message id="collection.new">
        <source>New Collection…</source>
        <translation>新規コレクション…</translation>
    </message>
    <message id="collection.none">
        <source>No Collection</source>
        <translation>コレクションなし</translation>
    </message>
    <message id="connection.notChecked">
        <source>Not checked yet</source>
        <translation>未確認</translation>
    </message>
    <message id="connection.reachable">
        <source>Connected</source>
        <translation>接続できました</translation>
    </message>
    <message id="connection.reaching">
        <source>Connecting…</source>
        <translation>接続中…</translation>
    </message>
    <message id="creator.cancel">
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message id="creator.filedHere">
        <source>The save will be filed here. </source>
        <translation>保存した項目はここに追加されます。</translation>
    </message>
    <message id="creator.hint">
        <source>Press Enter to %1.</source>
        <translation>Enter キーで%1</translation>
    </message>
    <message id="creator.nameLabel">
        <source>Collection name</source>
        <translation>コレクション名</translation>
    </message>
    <message id="creator.namePrompt">
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message id="inspector.ago">
        <source>%1 ago</source>
        <translation>%1前</translation>
    </message>
    <message id="inspector.close">
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message id="inspector.collection">
        <source>Collection</source>
        <translation>コレクション</translation>
    </message>
    <message id="inspector.copyLink">
        <source>Copy Link</source>
        <translation>リンクをコピー</translation>
    </message>
    <message id="inspector.details">
        <source>Details</source>
        <translation>詳細</translation>
    </message>
    <message id="inspector.downloading">
        <source>%1 of %2</source>
        <translation>%2中 %1</translation>
    </message>
    <message id="inspector.favourite">
        <source>Favourite</source>
        <translation>お気に入り</translation>
    </message>
    <message id="inspector.fileImage">
        <source>Picture · %1</source>
        <translation>画像 · %1</translation>
    </message>
    <message id="inspector.filePage">
        <source>Page · %1</source>
        <translation>ページ · %1</translation>
    </message>
    <message id="inspector.fileVideo">
        <source>Video · %1 · %2</source>
        <translation>動画 · %1 · %2</translation>
    </message>
    <message id="inspector.justNow">
        <source>Just now</source>
        <translation>たった今</translation>
    </message>
    <message id="inspector.link">
        <source>Link</source>
        <translation>リンク</translation>
    </message>
    <message id="inspector.localMedia">
        <source>Media on This Computer</source>
        <translation>このコンピュータのメディア</translation>
    </message>
    <message id="inspector.note">
        <source>Note</source>
        <translation>メモ</translation>
    </message>
    <message id="inspector.notePrompt">
        <source>Add a note…</source>
        <translation>メモを追加…</translation>
    </message>
    <message id="inspector.onlyLinked">
        <source>Only the link is saved</source>
        <translation>リンクのみ保存されています</translation>
    </message>
    <message id="inspector.onlyLinkedDetail">
        <source>The media is not on this computer</source>
        <translation>メディアはこのコンピュータにありません</translation>
    </message>
    <message id="inspector.openOriginal">
        <source>Open Original</source>
        <translation>元の投稿を開く</translation>
    </message>
    <message id="inspector.posted">
        <source>Posted %1</source>
        <translation>%1に投稿</translation>
    </message>
    <message id="inspector.removeLocalCopy">
        <source>Remove Download</source>
        <translation>ダウンロードを削除</translation>
    </message>
    <message id="inspector.saved">
        <source>Saved</source>
        <translation>保存</translation>
    </message>
    <message id="inspector.showInFileManager">
        <source>Show in Folder</source>
        <translation>フォルダで表示</translation>
    </message>
    <message id="inspector.tags">
        <source>Tags</source>
        <translation>タグ</translation>
    </message>
    <message id="media.bytesProgress">
        <source>%1 of %2 bytes</source>
        <translation>%2 バイト中 %1 バイト</translation>
    </message>
    <message id="media.downloading">
        <source>%1% of %2</source>
        <translation>%2 の %1%</translation>
    </message>
    <message id="media.failed">
        <source>Download failed</source>
        <translation>ダウンロード失敗</translation>
    </message>
    <message id="media.favourite">
        <source>Favourite</source>
        <translation>お気に入り</translation>
    </message>
    <message id="media.imageCount" numerus="yes">
        <source>%n pictures</source>
        <translation>
            <numerusform>画像 %n枚</numerusform>
        </translation>
    </message>
    <message id="media.imageMany">
        <source>%1 pictures</source>
        <translation>画像 %1枚</translation>
    </message>
    <message id="media.imageOne">
        <source>%1 picture</source>
        <translation>画像 %1枚</translation>
    </message>
    <message id="media.link">
        <source>Link</source>
        <translation>リンク</translation>
    </message>
    <message id="media.next">
        <source>Next</source>
        <translation>次へ</translation>
    </message>
    <message id="media.notDownloaded">
        <source>Not downloaded</source>
        <translation>未ダウンロード</translation>
    </message>
    <message id="media.onThisComputer">
        <source>On this computer</source>
        <translation>このコンピュータにあります</translation>
    </message>
    <message id="media.percent">
        <source>%1 percent</source>
        <translation>%1パーセント</translation>
    </message>
    <message id="media.previous">
        <source>Previous</source>
        <translation>前へ</translation>
    </message>
    <message id="media.text">
        <source>Text</source>
        <translation>テキスト</translation>
    </message>
    <message id="media.video">
        <source>Video</source>
        <translation>動画</translation>
    </message>
    <message id="media.videoLength">
        <source>Video %1</source>
        <translation>動画 %1</translation>
    </message>
    <message id="media.videoMany">
        <source>%1 videos</source>
        <translation>動画 %1本</translation>
    </message>
    <message id="media.videoOne">
        <source>%1 video</source>
        <translation>動画 %1本</translation>
    </message>
    <message id="player.close">
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message id="player.openOriginal">
        <source>Open Original</source>
        <translation>元の投稿を開く</translation>
    </message>
    <message id="player.showInFileManager">
        <source>Show in Folder</source>
        <translation>フォルダで表示</translation>
    </message>
    <message id="player.mute">
        <source>Mute</source>
        <translation>消音</translation>
    </message>
    <message id="player.pause">
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message id="player.play">
        <source>Play</source>
        <translation>再生</translation>
    </message>
    <message id="player.position">
        <source>Playback Position</source>
        <translation>再生位置</translation>
    </message>
    <message id="player.unmute">
        <source>Unmute</source>
        <translation>消音を解除</translation>
    </message>
    <message id="quickSave.copyLink">
        <source>Copy a link</source>
        <translation>リンクをコピーして</translation>
    </message>
    <message id="quickSave.onClipboard">
        <source>On the Clipboard</source>
        <translation>クリップボード</translation>
    </message>
    <message id="quickSave.openStashwell">
        <source>Open Stashwell</source>
        <translation>Stashwell を開く</translation>
    </message>
    <message id="quickSave.reading">
        <source>Reading %1…</source>
        <translation>%1 を読み込み中…</translation>
    </message>
    <message id="quickSave.recentlySaved">
        <source>Recently Saved</source>
        <translation>最近の保存</translation>
    </message>
    <message id="quickSave.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="quickSave.settings">
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message id="quickSave.thenOpen">
        <source>then open this panel again</source>
        <translation>このパネルをもう一度開いてください</translation>
    </message>
    <message id="quickSave.title">
        <source>Quick Save</source>
        <translation>クイック保存</translation>
    </message>
    <message id="saveLink.cancel">
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message id="saveLink.downloadMedia">
        <source>Download media</source>
        <translation>メディアをダウンロード</translation>
    </message>
    <message id="saveLink.fetchingButton">
        <source>Fetching…</source>
        <translation>取得中…</translation>
    </message>
    <message id="saveLink.fetchPost">
        <source>Fetch Post</source>
        <translation>投稿を取得</translation>
    </message>
    <message id="saveLink.fetching">
        <source>Fetching %1…</source>
        <translation>%1 を取得中…</translation>
    </message>
    <message id="saveLink.kicker">
        <source>New Save</source>
        <translation>新規保存</translation>
    </message>
    <message id="saveLink.linkOnly">
        <source>link only</source>
        <translation>リンクのみ</translation>
    </message>
    <message id="saveLink.pasteAnywhere">
        <source>Paste a link anywhere in the window</source>
        <translation>ウィンドウのどこにでもリンクを貼り付けられます</translation>
    </message>
    <message id="saveLink.pitch">
        <source>Paste the link of a post on X or of any web page. Stashwell keeps it, with its media, on this computer.</source>
        <translation>X の投稿や Web ページのリンクを貼り付けてください。Stashwell がメディアごとこのコンピュータに保存します。</translation>
    </message>
    <message id="saveLink.postURL">
        <source>Post or page link</source>
        <translation>投稿またはページのリンク</translation>
    </message>
    <message id="saveLink.quality">
        <source>Quality</source>
        <translation>画質</translation>
    </message>
    <message id="saveLink.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="saveLink.saveTo">
        <source>Save to</source>
        <translation>保存先</translation>
    </message>
    <message id="saveLink.title">
        <source>Save a Link</source>
        <translation>リンクを保存</translation>
    </message>
    <message id="saveLink.willDownload">
        <source>will download</source>
        <translation>ダウンロードします</translation>
    </message>
    <message id="saveMenu.copyLink">
        <source>Copy Link</source>
        <translation>リンクをコピー</translation>
    </message>
    <message id="saveMenu.favourite">
        <source>Add to Favourites</source>
        <translation>お気に入りに追加</translation>
    </message>
    <message id="saveMenu.fileIn">
        <source>Add to Collection</source>
        <translation>コレクションに追加</translation>
    </message>
    <message id="saveMenu.newCollection">
        <source>New Collection…</source>
        <translation>新規コレクション…</translation>
    </message>
    <message id="saveMenu.openOriginal">
        <source>Open Original</source>
        <translation>元の投稿を開く</translation>
    </message>
    <message id="saveMenu.removeLocalCopy">
        <source>Remove Download</source>
        <translation>ダウンロードを削除</translation>
    </message>
    <message id="saveMenu.showInFileManager">
        <source>Show in Folder</source>
        <translation>フォルダで表示</translation>
    </message>
    <message id="saveMenu.unfavourite">
        <source>Remove from Favourites</source>
        <translation>お気に入りから削除</translation>
    </message>
    <message id="search.clear">
        <source>Clear Search</source>
        <translation>検索をクリア</translation>
    </message>
    <message id="search.label">
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message id="search.prompt">
        <source>Search saves</source>
        <translation>保存した項目を検索</translation>
    </message>
    <message id="shelf.emptyMessage">
        <source>Copy a link and press Ctrl+V in this window, or drop a link onto it.</source>
        <translation>リンクをコピーしてこのウィンドウで Ctrl+V を押すか、リンクをウィンドウにドロップしてください。</translation>
    </message>
    <message id="shelf.grid">
        <source>Grid</source>
        <translation>グリッド</translation>
    </message>
    <message id="shelf.latestSave">
        <source>Latest Save</source>
        <translation>最新の保存項目</translation>
    </message>
    <message id="shelf.list">
        <source>List</source>
        <translation>リスト</translation>
    </message>
    <message id="shelf.savedJustNow">
        <source>Saved just now</source>
        <translation>たった今保存</translation>
    </message>
    <message id="shelf.savedAgo">
        <source>Saved %1 ago</source>
        <translation>%1前に保存</translation>
    </message>
    <message id="shelf.saveLink">
        <source>Save Link</source>
        <translation>リンクを保存</translation>
    </message>
    <message id="shelf.saveLinkHelp">
        <source>Save a link to a post or page</source>
        <translation>投稿やページのリンクを保存</translation>
    </message>
    <message id="shelf.showDetails">
        <source>Show Details</source>
        <translation>詳細を表示</translation>
    </message>
    <message id="sidebar.allSaves">
        <source>All Saves</source>
        <translation>すべての項目</translation>
    </message>
    <message id="sidebar.collections">
        <source>Collections</source>
        <translation>コレクション</translation>
    </message>
    <message id="sidebar.delete">
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message id="sidebar.edit">
        <source>Edit…</source>
        <translation>編集…</translation>
    </message>
    <message id="sidebar.favourites">
        <source>Favourites</source>
        <translation>お気に入り</translation>
    </message>
    <message id="sidebar.filterBy">
        <source>Filter By</source>
        <translation>絞り込み</translation>
    </message>
    <message id="sidebar.image">
        <source>Pictures</source>
        <translation>画像</translation>
    </message>
    <message id="sidebar.library">
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message id="sidebar.link">
        <source>Links</source>
        <translation>リンク</translation>
    </message>
    <message id="sidebar.linkOnly">
        <source>Link Only</source>
        <translation>リンクのみ</translation>
    </message>
    <message id="sidebar.newCollection">
        <source>New Collection</source>
        <translation>新規コレクション</translation>
    </message>
    <message id="sidebar.pasteLink">
        <source>Paste a link</source>
        <translation>リンクを貼り付け</translation>
    </message>
    <message id="sidebar.recentlyAdded">
        <source>Recently Added</source>
        <translation>最近追加した項目</translation>
    </message>
    <message id="sidebar.settings">
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message id="sidebar.text">
        <source>Text</source>
        <translation>テキスト</translation>
    </message>
    <message id="sidebar.topAuthors">
        <source>Top Authors</source>
        <translation>よく保存する作者</translation>
    </message>
    <message id="sidebar.trash">
        <source>Trash</source>
        <translation>ゴミ箱</translation>
    </message>
    <message id="sidebar.video">
        <source>Videos</source>
        <translation>動画</translation>
    </message>
    <message id="sidebar.web">
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message id="status.move">
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message id="status.openItem">
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message id="status.saveLink">
        <source>Save link</source>
        <translation>リンクを保存</translation>
    </message>
    <message id="status.search">
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message id="status.summary" numerus="yes">
        <source>%n saves · %1 in %2</source>
        <translation>
            <numerusform>%n件 · %2 に %1</numerusform>
        </translation>
    </message>
    <message id="status.trash">
        <source>Trash</source>
        <translation>ゴミ箱へ</translation>
    </message>
    <message id="storage.downloadMissingMany">
        <source>Download %1 missing saves</source>
        <translation>未取得の%1件をダウンロード</translation>
    </message>
    <message id="storage.downloadMissingOne">
        <source>Download %1 missing save</source>
        <translation>未取得の%1件をダウンロード</translation>
    </message>
    <message id="storage.limit">
        <source>%1 · limit %2</source>
        <translation>%1 · 上限 %2</translation>
    </message>
    <message id="storage.onThisComputer">
        <source>On This Computer</source>
        <translation>このコンピュータ上</translation>
    </message>
    <message id="tag.add">
        <source>Add tag</source>
        <translation>タグを追加</translation>
    </message>
    <message id="tag.remove">
        <source>Remove tag %1</source>
        <translation>タグ「%1」を削除</translation>
    </message>
    <message id="time.days">
        <source>%1 d</source>
        <translation>%1日</translation>
    </message>
    <message id="time.hours">
        <source>%1 h</source>
        <translation>%1時間</translation>
    </message>
    <message id="time.minutes">
        <source>%1 min</source>
        <translation>%1分</translation>
    </message>
    <message id="time.now">
        <source>now</source>
        <translation>今</translation>
    </message>
    <message id="time.weeks">
        <source>%1 wk</source>
        <translation>%1週間</translation>
    </message>
</context>
</TS>
