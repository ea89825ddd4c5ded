<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name></name>
    <message id="library.archiveHeld">
        <source>Your library file could not be read and could not be set aside. To keep it safe, Stashwell will not save any changes until it is restarted.</source>
        <translation>보관함 파일을 읽을 수 없었고 따로 옮겨 둘 수도 없었습니다. 파일을 보호하기 위해 Stashwell을 다시 시작할 때까지 변경 사항을 저장하지 않습니다.</translation>
    </message>
    <message id="library.archiveUnreadable">
        <source>Your library file could not be read. It was kept unchanged as “%1”, and nothing was deleted. Stashwell has started with an empty library.</source>
        <translation>보관함 파일을 읽을 수 없었습니다. 파일은 변경 없이 “%1”(으)로 보관되었으며, 아무것도 삭제되지 않았습니다. Stashwell은 빈 보관함으로 시작했습니다.</translation>
    </message>
    <message id="library.archiveWriteFailed">
        <source>Your library could not be saved to disk. Your latest changes are kept while Stashwell is open, and it will try again with your next change.</source>
        <translation>보관함을 디스크에 저장하지 못했습니다. 최근 변경 사항은 Stashwell이 열려 있는 동안 유지되며, 다음에 변경할 때 다시 저장을 시도합니다.</translation>
    </message>
    <message id="library.cancel">
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message id="library.create">
        <source>Create</source>
        <translation>만들기</translation>
    </message>
    <message id="library.delete">
        <source>Delete</source>
        <translation>삭제</translation>
    </message>
    <message id="library.deleteMessageMany">
        <source>%1 saves are filed in this collection. They stay in your library.</source>
        <translation>이 컬렉션에 항목 %1개가 있습니다. 항목은 보관함에 그대로 남습니다.</translation>
    </message>
    <message id="library.deleteMessageOne">
        <source>%1 save is filed in this collection. It stays in your library.</source>
        <translation>이 컬렉션에 항목 %1개가 있습니다. 이 항목은 보관함에 그대로 남습니다.</translation>
    </message>
    <message id="library.deleteTitle">
        <source>Delete “%1”?</source>
        <translation>‘%1’ 컬렉션을 삭제하시겠습니까?</translation>
    </message>
    <message id="library.deleteTitleUnnamed">
        <source>Delete this collection?</source>
        <translation>이 컬렉션을 삭제하시겠습니까?</translation>
    </message>
    <message id="library.emptyTrash">
        <source>Empty Trash</source>
        <translation>휴지통 비우기</translation>
    </message>
    <message id="library.emptyTrashMessage">
        <source>%1 in the Trash will be deleted for good. This can’t be undone.</source>
        <translation>휴지통에 있는 %1가 영구적으로 삭제됩니다. 이 작업은 실행 취소할 수 없습니다.</translation>
    </message>
    <message id="library.emptyTrashTitle">
        <source>Empty the Trash?</source>
        <translation>휴지통을 비우시겠습니까?</translation>
    </message>
    <message id="library.emptyTrashWithMedia">
        <source>%1 in the Trash and %2 of downloaded media will be deleted for good. This can’t be undone.</source>
        <translation>휴지통에 있는 %1와 다운로드한 미디어(%2)가 영구적으로 삭제됩니다. 이 작업은 실행 취소할 수 없습니다.</translation>
    </message>
    <message id="library.leftBehindMany">
        <source>%1 media files could not be deleted. They are still in %2.</source>
        <translation>미디어 파일 %1개를 삭제하지 못했습니다. 파일은 %2에 남아 있습니다.</translation>
    </message>
    <message id="library.leftBehindOne">
        <source>%1 media file could not be deleted. It is still in %2.</source>
        <translation>미디어 파일 %1개를 삭제하지 못했습니다. 파일은 %2에 남아 있습니다.</translation>
    </message>
    <message id="library.leftBehindTitle">
        <source>Some files were not deleted</source>
        <translation>일부 파일을 삭제하지 못했습니다</translation>
    </message>
    <message id="library.nameTaken">
        <source>A collection named “%1” already exists.</source>
        <translation>‘%1’ 컬렉션이 이미 있습니다.</translation>
    </message>
    <message id="library.ok">
        <source>OK</source>
        <translation>확인</translation>
    </message>
    <message id="library.save">
        <source>Save</source>
        <translation>저장</translation>
    </message>
    <message id="library.showInFileManager">
        <source>Show in Folder</source>
        <translation>폴더에서 보기</translation>
    </message>
    <message id="library.trashSavesMany">
        <source>%1 saves</source>
        <translation>항목 %1개</translation>
    </message>
    <message id="library.trashSavesOne">
        <source>%1 save</source>
        <translation>항목 %1개</translation>
    </message>
    <message id="menu.downloadMissing">
        <source>Download Missing</source>
        <translation>받지 않은 항목 다운로드</translation>
    </message>
    <message id="menu.emptyTrash">
        <source>Empty Trash…</source>
        <translation>휴지통 비우기…</translation>
    </message>
    <message id="menu.library">
        <source>Library</source>
        <translation>보관함</translation>
    </message>
    <message id="menu.saveLink">
        <source>Save Link…</source>
        <translation>링크 저장…</translation>
    </message>
    <message id="menu.quickSave">
        <source>Quick Save…</source>
        <translation>빠른 저장…</translation>
    </message>
    <message id="menu.openStashwell">
        <source>Open Stashwell</source>
        <translation>Stashwell 열기</translation>
    </message>
    <message id="menu.settings">
        <source>Settings…</source>
        <translation>설정…</translation>
    </message>
    <message id="menu.quit">
        <source>Quit Stashwell</source>
        <translation>Stashwell 종료</translation>
    </message>
    <message id="menu.file">
        <source>File</source>
        <translation>파일</translation>
    </message>
    <message id="menu.edit">
        <source>Edit</source>
        <translation>편집</translation>
    </message>
    <message id="menu.close">
        <source>Close Window</source>
        <translation>창 닫기</translation>
    </message>
    <message id="menu.undo">
        <source>Undo</source>
        <translation>실행 취소</translation>
    </message>
    <message id="menu.redo">
        <source>Redo</source>
        <translation>다시 실행</translation>
    </message>
    <message id="menu.cut">
        <source>Cut</source>
        <translation>잘라내기</translation>
    </message>
    <message id="menu.copy">
        <source>Copy</source>
        <translation>복사</translation>
    </message>
    <message id="menu.paste">
        <source>Paste</source>
        <translation>붙여넣기</translation>
    </message>
    <message id="menu.selectAll">
        <source>Select All</source>
        <translation>모두 선택</translation>
    </message>
    <message id="network.apply">
        <source>Apply</source>
        <translation>적용</translation>
    </message>
    <message id="network.connection">
        <source>Connection</source>
        <translation>연결</translation>
    </message>
    <message id="network.direct">
        <source>Direct</source>
        <translation>직접 연결</translation>
    </message>
    <message id="network.directNote">
        <source>Stashwell connects to X and to web pages directly, without a proxy.</source>
        <translation>프록시 없이 X와 웹 페이지에 직접 연결합니다.</translation>
    </message>
    <message id="network.host">
        <source>Host</source>
        <translation>호스트</translation>
    </message>
    <message id="network.hostNotStorable">
        <source>This host can’t be stored as written. Enter a host name or an address, and put an IPv6 address in brackets, like [::1].</source>
        <translation>이 호스트는 입력한 그대로 저장할 수 없습니다. 호스트 이름이나 주소를 입력하고, IPv6 주소는 [::1]처럼 대괄호로 묶으세요.</translation>
    </message>
    <message id="network.http">
        <source>HTTP</source>
        <translation>HTTP</translation>
    </message>
    <message id="network.httpNote">
        <source>Stashwell connects through the HTTP proxy at this host and port.</source>
        <translation>이 호스트와 포트의 HTTP 프록시를 거쳐 연결합니다.</translation>
    </message>
    <message id="network.pasteFromTerminal">
        <source>Paste from Terminal</source>
        <translation>터미널에서 붙여넣기</translation>
    </message>
    <message id="network.pasteNote">
        <source>Paste the proxy lines you export in your shell. Stashwell fills in the form, applies the proxy and tests the connection.</source>
        <translation>셸에서 export하는 프록시 설정 줄을 붙여넣으면 양식을 채우고 프록시를 적용한 뒤 연결을 테스트합니다.</translation>
    </message>
    <message id="network.port">
        <source>Port</source>
        <translation>포트</translation>
    </message>
    <message id="network.proxy">
        <source>Proxy</source>
        <translation>프록시</translation>
    </message>
    <message id="network.socks">
        <source>SOCKS</source>
        <translation>SOCKS</translation>
    </message>
    <message id="network.socksNote">
        <source>Stashwell connects through the SOCKS proxy at this host and port.</source>
        <translation>이 호스트와 포트의 SOCKS 프록시를 거쳐 연결합니다.</translation>
    </message>
    <message id="network.system">
        <source>System</source>
        <translation>시스템</translation>
    </message>
    <message id="network.systemNote">
        <source>Stashwell uses the system’s proxy settings.</source>
        <translation>시스템의 프록시 설정을 사용합니다.</translation>
    </message>
    <message id="network.test">
        <source>Test</source>
        <translation>테스트</translation>
    </message>
    <message id="network.use">
        <source>Use</source>
        <translation>사용</translation>
    </message>
    <message id="quickSave.alreadyIn">
        <source>Already in your library</source>
        <translation>이미 보관함에 있습니다</translation>
    </message>
    <message id="quickSave.unreadable">
        <source>Couldn’t read a post or page from the copied text</source>
        <translation>복사한 텍스트에서 게시물이나 페이지를 읽을 수 없습니다</translation>
    </message>
    <message id="refusal.alreadyDownloading">
        <source>This save is already downloading.</source>
        <translation>이 항목은 이미 다운로드 중입니다.</translation>
    </message>
    <message id="refusal.alreadyOnThisComputer">
        <source>This save’s media is already on this computer.</source>
        <translation>이 항목의 미디어는 이미 이 컴퓨터에 있습니다.</translation>
    </message>
    <message id="refusal.nameEmpty">
        <source>A collection needs a name.</source>
        <translation>컬렉션 이름을 입력하세요.</translation>
    </message>
    <message id="refusal.nameTaken">
        <source>Another collection already has this name.</source>
        <translation>같은 이름의 컬렉션이 이미 있습니다.</translation>
    </message>
    <message id="refusal.noSuchCollection">
        <source>This collection no longer exists.</source>
        <translation>이 컬렉션은 더 이상 존재하지 않습니다.</translation>
    </message>
    <message id="refusal.notALink">
        <source>This isn’t a valid link.</source>
        <translation>올바른 링크가 아닙니다.</translation>
    </message>
    <message id="refusal.notAPost">
        <source>This link doesn’t point to a post.</source>
        <translation>이 링크는 게시물을 가리키지 않습니다.</translation>
    </message>
    <message id="refusal.nothingToDownload">
        <source>This save has no media to download.</source>
        <translation>이 항목에는 다운로드할 미디어가 없습니다.</translation>
    </message>
    <message id="refusal.overBudget">
        <source>This download needs %1, but only %2 is left under the media limit.</source>
        <translation>필요한 용량은 %1이지만 미디어 한도까지 남은 용량은 %2입니다.</translation>
    </message>
    <message id="refusal.unreachable">
        <source>Couldn’t reach the post or page. Check your connection and try again.</source>
        <translation>게시물이나 페이지를 가져올 수 없습니다. 연결을 확인한 후 다시 시도하세요.</translation>
    </message>
    <message id="settings.appearance">
        <source>Appearance</source>
        <translation>모양</translation>
    </message>
    <message id="settings.appearanceNote">
        <source>Choose the theme and the look of the library window.</source>
        <translation>테마와 보관함 창의 모양을 선택합니다.</translation>
    </message>
    <message id="settings.downloadOnSave">
        <source>Download media when saving</source>
        <translation>저장할 때 미디어 다운로드</translation>
    </message>
    <message id="settings.downloads">
        <source>Downloads</source>
        <translation>다운로드</translation>
    </message>
    <message id="settings.downloadsNote">
        <source>Media is kept in the media folder on this computer, within the limit you set.</source>
        <translation>미디어는 설정한 한도 안에서 이 컴퓨터의 미디어 폴더에 보관됩니다.</translation>
    </message>
    <message id="settings.general">
        <source>General</source>
        <translation>일반</translation>
    </message>
    <message id="settings.glass">
        <source>Glass</source>
        <translation>유리</translation>
    </message>
    <message id="settings.language">
        <source>Language</source>
        <translation>언어</translation>
    </message>
    <message id="settings.languageNote">
        <source>A new language takes effect when Stashwell relaunches.</source>
        <translation>언어 변경은 Stashwell을 다시 시작하면 적용됩니다.</translation>
    </message>
    <message id="settings.languageSystem">
        <source>System</source>
        <translation>시스템</translation>
    </message>
    <message id="settings.libraryWindow">
        <source>Library Window</source>
        <translation>보관함 창</translation>
    </message>
    <message id="settings.mediaFolder">
        <source>Media Folder</source>
        <translation>미디어 폴더</translation>
    </message>
    <message id="settings.mediaLimit">
        <source>Media Limit</source>
        <translation>미디어 한도</translation>
    </message>
    <message id="settings.network">
        <source>Network</source>
        <translation>네트워크</translation>
    </message>
    <message id="settings.relaunch">
        <source>Relaunch</source>
        <translation>다시 시작</translation>
    </message>
    <message id="settings.showInFileManager">
        <source>Show in Folder</source>
        <translation>폴더에서 보기</translation>
    </message>
    <message id="settings.solid">
        <source>Solid</source>
        <translation>불투명</translation>
    </message>
    <message id="settings.theme">
        <source>Theme</source>
        <translation>테마</translation>
    </message>
    <message id="settings.themeDark">
        <source>Dark</source>
        <translation>다크</translation>
    </message>
    <message id="settings.themeLight">
        <source>Light</source>
        <translation>라이트</translation>
    </message>
    <message id="settings.themeSystem">
        <source>System</source>
        <translation>시스템</translation>
    </message>
    <message id="settings.title">
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message id="settings.videoQuality">
        <source>Video Quality</source>
        <translation>동영상 화질</translation>
    </message>
    <message id="shelf.allSaves">
        <source>All Saves</source>
        <translation>모든 항목</translation>
    </message>
    <message id="shelf.downloadMissing" numerus="yes">
        <source>Download %n missing · %1</source>
        <translation>
            <numerusform>받지 않은 항목 %n개 다운로드 · %1</numerusform>
        </translation>
    </message>
    <message id="shelf.emptyTitle">
        <source>Nothing here yet</source>
        <translation>아직 항목이 없습니다</translation>
    </message>
    <message id="shelf.itemMany">
        <source>%1 items</source>
        <translation>%1개</translation>
    </message>
    <message id="shelf.itemOne">
        <source>%1 item</source>
        <translation>%1개</translation>
    </message>
    <message id="shelf.matching">
        <source>%1 matching “%2”</source>
        <translation>‘%2’ 검색 결과 %1</translation>
    </message>
    <message id="shelf.noMatch">
        <source>No results for “%1”</source>
        <translation>‘%1’에 대한 검색 결과가 없습니다</translation>
    </message>
    <message id="shelf.recentlyAdded">
        <source>Recently Added</source>
        <translation>최근 추가</translation>
    </message>
    <message id="shelf.viewAll">
        <source>View All</source>
        <translation>모두 보기</translation>
    </message>
    <message id="title.allSaves">
        <source>All Saves</source>
        <translation>모든 항목</translation>
    </message>
    <message id="title.collection">
        <source>Collection</source>
        <translation>컬렉션</translation>
    </message>
    <message id="title.favourites">
        <source>Favourites</source>
        <translation>즐겨찾기</translation>
    </message>
    <message id="title.images">
        <source>Pictures</source>
        <translation>이미지</translation>
    </message>
    <message id="title.linkOnly">
        <source>Link Only</source>
        <translation>링크만</translation>
    </message>
    <message id="title.links">
        <source>Links</source>
        <translation>링크</translation>
    </message>
    <message id="title.onThisComputer">
        <source>On This Computer</source>
        <translation>이 컴퓨터에 있음</translation>
    </message>
    <message id="title.recentlyAdded">
        <source>Recently Added</source>
        <translation>최근 추가</translation>
    </message>
    <message id="title.savedCount" numerus="yes">
        <source>%n saved</source>
        <translation>
            <numerusform>%n개 저장됨</numerusform>
        </translation>
    </message>
    <message id="title.textPosts">
        <source>Text</source>
        <translation>텍스트</translation>
    </message>
    <message id="title.trash">
        <source>Trash</source>
        <translation>휴지통</translation>
    </message>
    <message id="title.videos">
        <source>Videos</source>
        <translation>동영상</translation>
    </message>
    <message id="title.web">
        <source>Web</source>
        <translation>웹</translation>
    </message>
    <message id="toast.deleted">
        <source>Deleted “%1”</source>
        <translation>‘%1’ 컬렉션을 삭제했습니다</translation>
    </message>
    <message id="toast.downloadedTo" numerus="yes">
        <source>%n saves downloaded to %1</source>
        <translation>
            <numerusform>항목 %n개를 %1에 다운로드했습니다</numerusform>
        </translation>
    </message>
    <message id="toast.downloading" numerus="yes">
        <source>Downloading %n saves</source>
        <translation>
            <numerusform>항목 %n개 다운로드 중</numerusform>
        </translation>
    </message>
    <message id="toast.edited">
        <source>Updated “%1”</source>
        <translation>‘%1’ 컬렉션을 수정했습니다</translation>
    </message>
    <message id="toast.filedCountIn" numerus="yes">
        <source>Added %n saves to %1</source>
        <translation>
            <numerusform>항목 %n개를 %1에 추가했습니다</numerusform>
        </translation>
    </message>
    <message id="toast.filedIn">
        <source>Added to %1</source>
        <translation>%1에 추가했습니다</translation>
    </message>
    <message id="toast.linkCopied">
        <source>Link copied</source>
        <translation>링크를 복사했습니다</translation>
    </message>
    <message id="toast.localCopyRemoved">
        <source>Download removed</source>
        <translation>다운로드를 삭제했습니다</translation>
    </message>
    <message id="toast.made">
        <source>Created “%1”</source>
        <translation>‘%1’ 컬렉션을 만들었습니다</translation>
    </message>
    <message id="toast.madeAndFiled">
        <source>Created “%1” and added the save</source>
        <translation>‘%1’ 컬렉션을 만들고 항목을 추가했습니다</translation>
    </message>
    <message id="toast.movedCountToTrash" numerus="yes">
        <source>Moved %n saves to the Trash</source>
        <translation>
            <numerusform>항목 %n개를 휴지통으로 이동했습니다</numerusform>
        </translation>
    </message>
    <message id="toast.movedToTrash">
        <source>Moved to the Trash</source>
        <translation>휴지통으로 이동했습니다</translation>
    </message>
    <message id="toast.restored">
        <source>Restored</source>
        <translation>복원했습니다</translation>
    </message>
    <message id="toast.restoredCount" numerus="yes">
        <source>Restored %n saves</source>
        <translation>
            <numerusform>항목 %n개를 복원했습니다</numerusform>
        </translation>
    </message>
    <message id="toast.saved">
        <source>Saved</source>
        <translation>저장했습니다</translation>
    </message>
    <message id="toast.savedDownloading">
        <source>Saved · downloading media</source>
        <translation>저장했습니다 · 미디어 다운로드 중</translation>
    </message>
    <message id="toast.savedTo">
        <source>Saved to %1</source>
        <translation>%1에 저장했습니다</translation>
    </message>
    <message id="toast.starredCount" numerus="yes">
        <source>Added %n saves to Favourites</source>
        <translation>
            <numerusform>항목 %n개를 즐겨찾기에 추가했습니다</numerusform>
        </translation>
    </message>
    <message id="toast.starredIt">
        <source>Added to Favourites</source>
        <translation>즐겨찾기에 추가했습니다</translation>
    </message>
    <message id="toast.takenOut">
        <source>Removed from the collection</source>
        <translation>컬렉션에서 뺐습니다</translation>
    </message>
    <message id="toast.theCollection">
        <source>the collection</source>
        <translation>컬렉션</translation>
    </message>
    <message id="toast.tookCountOut" numerus="yes">
        <source>Removed %n saves from the collection</source>
        <translation>
            <numerusform>항목 %n개를 컬렉션에서 뺐습니다</numerusform>
        </translation>
    </message>
    <message id="toast.trashEmptied">
        <source>Trash emptied</source>
        <translation>휴지통을 비웠습니다</translation>
    </message>
    <message id="undo.deleteCollection">
        <source>Delete Collection</source>
        <translation>컬렉션 삭제</translation>
    </message>
    <message id="undo.editCollection">
        <source>Edit Collection</source>
        <translation>컬렉션 편집</translation>
    </message>
    <message id="undo.favourite">
        <source>Favourite</source>
        <translation>즐겨찾기</translation>
    </message>
    <message id="undo.file">
        <source>Change Collection</source>
        <translation>컬렉션 변경</translation>
    </message>
    <message id="undo.moveToTrash">
        <source>Move to Trash</source>
        <translation>휴지통으로 이동</translation>
    </message>
    <message id="undo.newCollection">
        <source>New Collection</source>
        <translation>새 컬렉션</translation>
    </message>
    <message id="undo.removeTag">
        <source>Remove Tag</source>
        <translation>태그 제거</translation>
    </message>
    <message id="undo.restore">
        <source>Restore</source>
        <translation>복원</translation>
    </message>
    <message id="undo.tag">
        <source>Add Tag</source>
        <translation>태그 추가</translation>
    </message>
</context>
</TS>
