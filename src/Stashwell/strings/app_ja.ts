<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name></name>
    <message id="library.archiveHeld">
        <source>Your library file could not be read and could not be set aside. To keep it safe, Stashwell will not save any changes until it is restarted.</source>
        <translation>ライブラリのファイルを読み込めず、退避することもできませんでした。ファイルを守るため、Stashwell を再起動するまで変更は保存されません。</translation>
    </message>
    <message id="library.archiveUnreadable">
        <source>Your library file could not be read. It was kept unchanged as “%1”, and nothing was deleted. Stashwell has started with an empty library.</source>
        <translation>ライブラリのファイルを読み込めませんでした。ファイルは「%1」として変更せずに保管してあり、何も削除されていません。Stashwell は空のライブラリで起動しました。</translation>
    </message>
    <message id="library.archiveWriteFailed">
        <source>Your library could not be saved to disk. Your latest changes are kept while Stashwell is open, and it will try again with your next change.</source>
        <translation>ライブラリをディスクに保存できませんでした。最新の変更は Stashwell を開いている間は保持され、次に変更したときにもう一度保存を試みます。</translation>
    </message>
    <message id="library.cancel">
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message id="library.create">
        <source>Create</source>
        <translation>作成</translation>
    </message>
    <message id="library.delete">
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message id="library.deleteMessageMany">
        <source>%1 saves are filed in this collection. They stay in your library.</source>
        <translation>このコレクションには%1件の項目があります。項目はライブラリに残ります。</translation>
    </message>
    <message id="library.deleteMessageOne">
        <source>%1 save is filed in this collection. It stays in your library.</source>
        <translation>このコレクションには%1件の項目があります。この項目はライブラリに残ります。</translation>
    </message>
    <message id="library.deleteTitle">
        <source>Delete “%1”?</source>
        <translation>「%1」を削除しますか？</translation>
    </message>
    <message id="library.deleteTitleUnnamed">
        <source>Delete this collection?</source>
        <translation>このコレクションを削除しますか？</translation>
    </message>
    <message id="library.emptyTrash">
        <source>Empty Trash</source>
        <translation>ゴミ箱を空にする</translation>
    </message>
    <message id="library.emptyTrashMessage">
        <source>%1 in the Trash will be deleted for good. This can’t be undone.</source>
        <translation>ゴミ箱の%1が完全に削除されます。この操作は取り消せません。</translation>
    </message>
    <message id="library.emptyTrashTitle">
        <source>Empty the Trash?</source>
        <translation>ゴミ箱を空にしますか？</translation>
    </message>
    <message id="library.emptyTrashWithMedia">
        <source>%1 in the Trash and %2 of downloaded media will be deleted for good. This can’t be undone.</source>
        <translation>ゴミ箱の%1と、ダウンロードしたメディア（%2）が完全に削除されます。この操作は取り消せません。</translation>
    </message>
    <message id="library.leftBehindMany">
        <source>%1 media files could not be deleted. They are still in %2.</source>
        <translation>%1個のメディアファイルを削除できませんでした。ファイルは %2 に残っています。</translation>
    </message>
    <message id="library.leftBehindOne">
        <source>%1 media file could not be deleted. It is still in %2.</source>
        <translation>%1個のメディアファイルを削除できませんでした。ファイルは %2 に残っています。</translation>
    </message>
    <message id="library.leftBehindTitle">
        <source>Some files were not deleted</source>
        <translation>一部のファイルを削除できませんでした</translation>
    </message>
    <message id="library.nameTaken">
        <source>A collection named “%1” already exists.</source>
        <translation>「%1」という名前のコレクションがすでにあります。</translation>
    </message>
    <message id="library.ok">
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message id="library.save">
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message id="library.showInFileManager">
        <source>Show in Folder</source>
        <translation>フォルダで表示</translation>
    </message>
    <message id="library.trashSavesMany">
        <source>%1 saves</source>
        <translation>%1件の項目</translation>
    </message>
    <message id="library.trashSavesOne">
        <source>%1 save</source>
        <translation>%1件の項目</translation>
    </message>
    <message id="menu.downloadMissing">
        <source>Download Missing</source>
        <translation>未取得の項目をダウンロード</translation>
    </message>
    <message id="menu.emptyTrash">
        <source>Empty Trash…</source>
        <translation>ゴミ箱を空にする…</translation>
    </message>
    <message id="menu.library">
        <source>Library</source>
        <translation>ライブラリ</translation>
    </message>
    <message id="menu.saveLink">
        <source>Save Link…</source>
        <translation>リンクを保存…</translation>
    </message>
    <message id="menu.quickSave">
        <source>Quick Save…</source>
        <translation>クイック保存…</translation>
    </message>
    <message id="menu.openStashwell">
        <source>Open Stashwell</source>
        <translation>Stashwell を開く</translation>
    </message>
    <message id="menu.settings">
        <source>Settings…</source>
        <translation>設定…</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Stashwell</source>
        <translation>Stashwell を終了</translation>
    </message>
    <message id="menu.file">
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message id="menu.edit">
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message id="menu.close">
        <source>Close Window</source>
        <translation>ウィンドウを閉じる</translation>
    </message>
    <message id="menu.undo">
        <source>Undo</source>
        <translation>取り消す</translation>
    </message>
    <message id="menu.redo">
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message id="menu.cut">
        <source>Cut</source>
        <translation>切り取り</translation>
    </message>
    <message id="menu.copy">
        <source>Copy</source>
        <translation>コピー</translation>
    </message>
    <message id="menu.paste">
        <source>Paste</source>
        <translation>貼り付け</translation>
    </message>
    <message id="menu.selectAll">
        <source>Select All</source>
        <translation>すべてを選択</translation>
    </message>
    <message id="network.apply">
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message id="network.connection">
        <source>Connection</source>
        <translation>接続</translation>
    </message>
    <message id="network.direct">
        <source>Direct</source>
        <translation>直接</translation>
    </message>
    <message id="network.directNote">
        <source>Stashwell connects to X and to web pages directly, without a proxy.</source>
        <translation>プロキシを使わずに、X や Web ページに直接接続します。</translation>
    </message>
    <message id="network.host">
        <source>Host</source>
        <translation>ホスト</translation>
    </message>
    <message id="network.hostNotStorable">
        <source>This host can’t be stored as written. Enter a host name or an address, and put an IPv6 address in brackets, like [::1].</source>
        <translation>このホストは入力どおりには保存できません。ホスト名かアドレスを入力し、IPv6 アドレスは [::1] のように角括弧で囲んでください。</translation>
    </message>
    <message id="network.http">
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message id="network.httpNote">
        <source>Stashwell connects through the HTTP proxy at this host and port.</source>
        <translation>このホストとポートの HTTP プロキシを経由して接続します。</translation>
    </message>
    <message id="network.pasteFromTerminal">
        <source>Paste from Terminal</source>
        <translation>ターミナルから貼り付け</translation>
    </message>
    <message id="network.pasteNote">
        <source>Paste the proxy lines you export in your shell. Stashwell fills in the form, applies the proxy and tests the connection.</source>
        <translation>シェルで export しているプロキシの行を貼り付けると、フォームに入力してプロキシを適用し、接続をテストします。</translation>
    </message>
    <message id="network.port">
        <source>Port</source>
        <translation>ポート</translation>
    </message>
    <message id="network.proxy">
        <source>Proxy</source>
        <translation>プロキシ</translation>
    </message>
    <message id="network.socks">
        <source>SOCKS</source>
        <translation>SOCKS</translation>
    </message>
    <message id="network.socksNote">
        <source>Stashwell connects through the SOCKS proxy at this host and port.</source>
        <translation>このホストとポートの SOCKS プロキシを経由して接続します。</translation>
    </message>
    <message id="network.system">
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message id="network.systemNote">
        <source>Stashwell uses the system’s proxy settings.</source>
        <translation>システムのプロキシ設定を使用します。</translation>
    </message>
    <message id="network.test">
        <source>Test</source>
        <translation>テスト</translation>
    </message>
    <message id="network.use">
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message id="quickSave.alreadyIn">
        <source>Already in your library</source>
        <translation>すでにライブラリにあります</translation>
    </message>
    <message id="quickSave.unreadable">
        <source>Couldn’t read a post or page from the copied text</source>
        <translation>コピーしたテキストから投稿やページを読み込めませんでした</translation>
    </message>
    <message id="refusal.alreadyDownloading">
        <source>This save is already downloading.</source>
        <translation>この項目はすでにダウンロード中です。</translation>
    </message>
    <message id="refusal.alreadyOnThisComputer">
        <source>This save’s media is already on this computer.</source>
        <translation>この項目のメディアはすでにこのコンピュータにあります。</translation>
    </message>
    <message id="refusal.nameEmpty">
        <source>A collection needs a name.</source>
        <translation>コレクション名を入力してください。</translation>
    </message>
    <message id="refusal.nameTaken">
        <source>Another collection already has this name.</source>
        <translation>同じ名前のコレクションがすでにあります。</translation>
    </message>
    <message id="refusal.noSuchCollection">
        <source>This collection no longer exists.</source>
        <translation>このコレクションはもう存在しません。</translation>
    </message>
    <message id="refusal.notALink">
        <source>This isn’t a valid link.</source>
        <translation>有効なリンクではありません。</translation>
    </message>
    <message id="refusal.notAPost">
        <source>This link doesn’t point to a post.</source>
        <translation>このリンクは投稿を指していません。</translation>
    </message>
    <message id="refusal.nothingToDownload">
        <source>This save has no media to download.</source>
        <translation>この項目にはダウンロードできるメディアがありません。</translation>
    </message>
    <message id="refusal.overBudget">
        <source>This download needs %1, but only %2 is left under the media limit.</source>
        <translation>このダウンロードには %1 が必要ですが、メディアの上限までの残りは %2 です。</translation>
    </message>
    <message id="refusal.unreachable">
        <source>Couldn’t reach the post or page. Check your connection and try again.</source>
        <translation>投稿またはページを取得できませんでした。接続を確認して、もう一度お試しください。</translation>
    </message>
    <message id="settings.appearance">
        <source>Appearance</source>
        <translation>外観</translation>
    </message>
    <message id="settings.appearanceNote">
        <source>Choose the theme and the look of the library window.</source>
        <translation>テーマとライブラリウィンドウの見た目を選択します。</translation>
    </message>
    <message id="settings.downloadOnSave">
        <source>Download media when saving</source>
        <translation>保存時にメディアをダウンロード</translation>
    </message>
    <message id="settings.downloads">
        <source>Downloads</source>
        <translation>ダウンロード</translation>
    </message>
    <message id="settings.downloadsNote">
        <source>Media is kept in the media folder on this computer, within the limit you set.</source>
        <translation>メディアは、設定した上限の範囲内でこのコンピュータのメディアフォルダに保存されます。</translation>
    </message>
    <message id="settings.general">
        <source>General</source>
        <translation>一般</translation>
    </message>
    <message id="settings.glass">
        <source>Glass</source>
        <translation>ガラス</translation>
    </message>
    <message id="settings.language">
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message id="settings.languageNote">
        <source>A new language takes effect when Stashwell relaunches.</source>
        <translation>言語の変更は Stashwell の再起動後に反映されます。</translation>
    </message>
    <message id="settings.languageSystem">
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message id="settings.libraryWindow">
        <source>Library Window</source>
        <translation>ライブラリウィンドウ</translation>
    </message>
    <message id="settings.mediaFolder">
        <source>Media Folder</source>
        <translation>メディアフォルダ</translation>
    </message>
    <message id="settings.mediaLimit">
        <source>Media Limit</source>
        <translation>メディアの上限</translation>
    </message>
    <message id="settings.network">
        <source>Network</source>
        <translation>ネットワーク</translation>
    </message>
    <message id="settings.relaunch">
        <source>Relaunch</source>
        <translation>再起動</translation>
    </message>
    <message id="settings.showInFileManager">
        <source>Show in Folder</source>
        <translation>フォルダで表示</translation>
    </message>
    <message id="settings.solid">
        <source>Solid</source>
        <translation>不透明</translation>
    </message>
    <message id="settings.theme">
        <source>Theme</source>
        <translation>テーマ</translation>
    </message>
    <message id="settings.themeDark">
        <source>Dark</source>
        <translation>ダーク</translation>
    </message>
    <message id="settings.themeLight">
        <source>Light</source>
        <translation>ライト</translation>
    </message>
    <message id="settings.themeSystem">
        <source>System</source>
        <translation>システム</translation>
    </message>
    <message id="settings.title">
        <source>Settings</source>
        <translation>設定</translation>
    </message>
    <message id="settings.videoQuality">
        <source>Video Quality</source>
        <translation>動画の画質</translation>
    </message>
    <message id="shelf.allSaves">
        <source>All Saves</source>
        <translation>すべての項目</translation>
    </message>
    <message id="shelf.downloadMissing" numerus="yes">
        <source>Download %n missing · %1</source>
        <translation>
            <numerusform>未取得の%n件をダウンロード · %1</numerusform>
        </translation>
    </message>
    <message id="shelf.emptyTitle">
        <source>Nothing here yet</source>
        <translation>まだ何もありません</translation>
    </message>
    <message id="shelf.itemMany">
        <source>%1 items</source>
        <translation>%1件</translation>
    </message>
    <message id="shelf.itemOne">
        <source>%1 item</source>
        <translation>%1件</translation>
    </message>
    <message id="shelf.matching">
        <source>%1 matching “%2”</source>
        <translation>「%2」の検索結果：%1</translation>
    </message>
    <message id="shelf.noMatch">
        <source>No results for “%1”</source>
        <translation>「%1」に一致する項目はありません</translation>
    </message>
    <message id="shelf.recentlyAdded">
        <source>Recently Added</source>
        <translation>最近追加した項目</translation>
    </message>
    <message id="shelf.viewAll">
        <source>View All</source>
        <translation>すべて表示</translation>
    </message>
    <message id="title.allSaves">
        <source>All Saves</source>
        <translation>すべての項目</translation>
    </message>
    <message id="title.collection">
        <source>Collection</source>
        <translation>コレクション</translation>
    </message>
    <message id="title.favourites">
        <source>Favourites</source>
        <translation>お気に入り</translation>
    </message>
    <message id="title.images">
        <source>Pictures</source>
        <translation>画像</translation>
    </message>
    <message id="title.linkOnly">
        <source>Link Only</source>
        <translation>リンクのみ</translation>
    </message>
    <message id="title.links">
        <source>Links</source>
        <translation>リンク</translation>
    </message>
    <message id="title.onThisComputer">
        <source>On This Computer</source>
        <translation>このコンピュータ上</translation>
    </message>
    <message id="title.recentlyAdded">
        <source>Recently Added</source>
        <translation>最近追加した項目</translation>
    </message>
    <message id="title.savedCount" numerus="yes">
        <source>%n saved</source>
        <translation>
            <numerusform>%n件を保存済み</numerusform>
        </translation>
    </message>
    <message id="title.textPosts">
        <source>Text</source>
        <translation>テキスト</translation>
    </message>
    <message id="title.trash">
        <source>Trash</source>
        <translation>ゴミ箱</translation>
    </message>
    <message id="title.videos">
        <source>Videos</source>
        <translation>動画</translation>
    </message>
    <message id="title.web">
        <source>Web</source>
        <translation>Web</translation>
    </message>
    <message id="toast.deleted">
        <source>Deleted “%1”</source>
        <translation>「%1」を削除しました</translation>
    </message>
    <message id="toast.downloadedTo" numerus="yes">
        <source>%n saves downloaded to %1</source>
        <translation>
            <numerusform>%n件を %1 にダウンロードしました</numerusform>
        </translation>
    </message>
    <message id="toast.downloading" numerus="yes">
        <source>Downloading %n saves</source>
        <translation>
            <numerusform>%n件をダウンロード中</numerusform>
        </translation>
    </message>
    <message id="toast.edited">
        <source>Updated “%1”</source>
        <translation>「%1」を更新しました</translation>
    </message>
    <message id="toast.filedCountIn" numerus="yes">
        <source>Added %n saves to %1</source>
        <translation>
            <numerusform>%n件を「%1」に追加しました</numerusform>
        </translation>
    </message>
    <message id="toast.filedIn">
        <source>Added to %1</source>
        <translation>「%1」に追加しました</translation>
    </message>
    <message id="toast.linkCopied">
        <source>Link copied</source>
        <translation>リンクをコピーしました</translation>
    </message>
    <message id="toast.localCopyRemoved">
        <source>Download removed</source>
        <translation>ダウンロードを削除しました</translation>
    </message>
    <message id="toast.made">
        <source>Created “%1”</source>
        <translation>「%1」を作成しました</translation>
    </message>
    <message id="toast.madeAndFiled">
        <source>Created “%1” and added the save</source>
        <translation>「%1」を作成して項目を追加しました</translation>
    </message>
    <message id="toast.movedCountToTrash" numerus="yes">
        <source>Moved %n saves to the Trash</source>
        <translation>
            <numerusform>%n件をゴミ箱に移動しました</numerusform>
        </translation>
    </message>
    <message id="toast.movedToTrash">
        <source>Moved to the Trash</source>
        <translation>ゴミ箱に移動しました</translation>
    </message>
    <message id="toast.restored">
        <source>Restored</source>
        <translation>復元しました</translation>
    </message>
    <message id="toast.restoredCount" numerus="yes">
        <source>Restored %n saves</source>
        <translation>
            <numerusform>%n件を復元しました</numerusform>
        </translation>
    </message>
    <message id="toast.saved">
        <source>Saved</source>
        <translation>保存しました</translation>
    </message>
    <message id="toast.savedDownloading">
        <source>Saved · downloading media</source>
        <translation>保存しました · メディアをダウンロード中</translation>
    </message>
    <message id="toast.savedTo">
        <source>Saved to %1</source>
        <translation>%1 に保存しました</translation>
    </message>
    <message id="toast.starredCount" numerus="yes">
        <source>Added %n saves to Favourites</source>
        <translation>
            <numerusform>%n件をお気に入りに追加しました</numerusform>
        </translation>
    </message>
    <message id="toast.starredIt">
        <source>Added to Favourites</source>
        <translation>お気に入りに追加しました</translation>
    </message>
    <message id="toast.takenOut">
        <source>Removed from the collection</source>
        <translation>コレクションから外しました</translation>
    </message>
    <message id="toast.theCollection">
        <source>the collection</source>
        <translation>コレクション</translation>
    </message>
    <message id="toast.tookCountOut" numerus="yes">
        <source>Removed %n saves from the collection</source>
        <translation>
            <numerusform>%n件をコレクションから外しました</numerusform>
        </translation>
    </message>
    <message id="toast.trashEmptied">
        <source>Trash emptied</source>
        <translation>ゴミ箱を空にしました</translation>
    </message>
    <message id="undo.deleteCollection">
        <source>Delete Collection</source>
        <translation>コレクションの削除</translation>
    </message>
    <message id="undo.editCollection">
        <source>Edit Collection</source>
        <translation>コレクションの編集</translation>
    </message>
    <message id="undo.favourite">
        <source>Favourite</source>
        <translation>お気に入り</translation>
    </message>
    <message id="undo.file">
        <source>Change Collection</source>
        <translation>コレクションの変更</translation>
    </message>
    <message id="undo.moveToTrash">
        <source>Move to Trash</source>
        <translation>ゴミ箱に移動</translation>
    </message>
    <message id="undo.newCollection">
        <source>New Collection</source>
        <translation>新規コレクション</translation>
    </message>
    <message id="undo.removeTag">
        <source>Remove Tag</source>
        <translation>タグの削除</translation>
    </message>
    <message id="undo.restore">
        <source>Restore</source>
        <translation>復元</translation>
    </message>
    <message id="undo.tag">
        <source>Add Tag</source>
        <translation>タグの追加</translation>
    </message>
</context>
</TS>
