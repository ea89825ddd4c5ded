<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko">
<context>
    <name></name>
    <message id="action.download">
        <source>Download %1</source>
        <translation>다운로드 %1</translation>
    </message>
    <message id="action.moveToTrash">
        <source>Move to Trash</source>
        <translation>휴지통으로 이동</translation>
    </message>
    <message id="action.openOnX">
        <source>Open on X</source>
        <translation>X에서 열기</translation>
    </message>
    <message id="action.openPost">
        <source>Open</source>
        <translation>열기</translation>
    </message>
    <message id="action.play">
        <source>Play</source>
        <translation>재생</translation>
    </message>
    <message id="action.restore">
        <source>Restore</source>
        <translation>복원</translation>
    </message>
    <message id="action.retry">
        <source>Retry</source>
        <translation>다시 시도</translation>
    </message>
    <message id="action.undo">
        <source>Undo</source>
        <translation>실행 취소</translation>
    </message>
    <message id="bulk.deselect">
        <source>Deselect All</source>
        <translation>선택 해제</translation>
    </message>
    <message id="bulk.download" numerus="yes">
        <source>Download %n · %1</source>
        <translation>
            <numerusform>%n개 다운로드 · %1</numerusform>
        </translation>
    </message>
    <message id="bulk.favouriteAll">
        <source>Favourite All</source>
        <translation>모두 즐겨찾기에 추가</translation>
    </message>
    <message id="bulk.fileIn">
        <source>Add to Collection</source>
        <translation>컬렉션에 추가</translation>
    </message>
    <message id="bulk.hint">
        <source>Ctrl-click or Shift-click to choose more.
Delete moves the chosen saves to the Trash.</source>
        <translation>Ctrl 또는 Shift를 누른 채 클릭하면 더 선택됩니다.
Delete 키로 선택한 항목을 휴지통으로 옮깁니다.</translation>
    </message>
    <message id="bulk.kinds">
        <source>Videos · Pictures · Text</source>
        <translation>동영상 · 이미지 · 텍스트</translation>
    </message>
    <message id="bulk.onThisComputer">
        <source>On This Computer</source>
        <translation>이 컴퓨터에 있음</translation>
    </message>
    <message id="bulk.onThisComputerCount">
        <source>%1 of %2</source>
        <translation>%2개 중 %1개</translation>
    </message>
    <message id="bulk.restore" numerus="yes">
        <source>Restore %n</source>
        <translation>
            <numerusform>%n개 복원</numerusform>
        </translation>
    </message>
    <message id="bulk.selected" numerus="yes">
        <source>%n Selected</source>
        <translation>
            <numerusform>%n개 선택됨</numerusform>
        </translation>
    </message>
    <message id="bulk.trash" numerus="yes">
        <source>Move %n to Trash</source>
        <translation>
            <numerusform>%n개를 휴지통으로 이동</numerusform>
        </translation>
    </message>
    <message id="collection.label">
        <source>Collection</source>
        <translation>컬렉션</translation>
    </message>
    <message id="collection.new">
        <source>New Collection…</source>
        <translation>새 컬렉션…</translation>
    </message>
    <message id="collection.none">
        <source>No Collection</source>
        <translation>컬렉션 없음</translation>
    </message>
    <message id="connection.notChecked">
        <source>Not checked yet</source>
        <translation>아직 확인하지 않음</translation>
    </message>
    <message id="connection.reachable">
        <source>Connected</source>
        <translation>연결됨</translation>
    </message>
    <message id="connection.reaching">
        <source>Connecting…</source>
        <translation>연결 중…</translation>
    </message>
    <message id="creator.cancel">
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message id="creator.filedHere">
        <source>The save will be filed here. </source>
        <translation>저장한 항목이 여기에 들어갑니다. </translation>
    </message>
    <message id="creator.hint">
        <source>Press Enter to %1.</source>
        <translation>Enter 키를 눌러 %1</translation>
    </message>
    <message id="creator.nameLabel">
        <source>Collection name</source>
        <translation>컬렉션 이름</translation>
    </message>
    <message id="creator.namePrompt">
        <source>Name</source>
        <translation>이름</translation>
    </message>
    <message id="inspector.ago">
        <source>%1 ago</source>
        <translation>%1 전</translation>
    </message>
    <message id="inspector.close">
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message id="inspector.collection">
        <source>Collection</source>
        <translation>컬렉션</translation>
    </message>
    <message id="inspector.copyLink">
        <source>Copy Link</source>
        <translation>링크 복사</translation>
    </message>
    <message id="inspector.details">
        <source>Details</source>
        <translation>세부 정보</translation>
    </message>
    <message id="inspector.downloading">
        <source>%1 of %2</source>
        <translation>%2 중 %1</translation>
    </message>
    <message id="inspector.favourite">
        <source>Favourite</source>
        <translation>즐겨찾기</translation>
    </message>
    <message id="inspector.fileImage">
        <source>Picture · %1</source>
        <translation>이미지 · %1</translation>
    </message>
    <message id="inspector.filePage">
        <source>Page · %1</source>
        <translation>페이지 · %1</translation>
    </message>
    <message id="inspector.fileVideo">
        <source>Video · %1 · %2</source>
        <translation>동영상 · %1 · %2</translation>
    </message>
    <message id="inspector.justNow">
        <source>Just now</source>
        <translation>방금</translation>
    </message>
    <message id="inspector.link">
        <source>Link</source>
        <translation>링크</translation>
    </message>
    <message id="inspector.localMedia">
        <source>Media on This Computer</source>
        <translation>이 컴퓨터의 미디어</translation>
    </message>
    <message id="inspector.note">
        <source>Note</source>
        <translation>메모</translation>
    </message>
    <message id="inspector.notePrompt">
        <source>Add a note…</source>
        <translation>메모 추가…</translation>
    </message>
    <message id="inspector.onlyLinked">
        <source>Only the link is saved</source>
        <translation>링크만 저장됨</translation>
    </message>
    <message id="inspector.onlyLinkedDetail">
        <source>The media is not on this computer</source>
        <translation>미디어가 이 컴퓨터에 없습니다</translation>
    </message>
    <message id="inspector.openOriginal">
        <source>Open Original</source>
        <translation>원본 열기</translation>
    </message>
    <message id="inspector.posted">
        <source>Posted %1</source>
        <translation>%1 게시</translation>
    </message>
    <message id="inspector.removeLocalCopy">
        <source>Remove Download</source>
        <translation>다운로드 삭제</translation>
    </message>
    <message id="inspector.saved">
        <source>Saved</source>
        <translation>저장</translation>
    </message>
    <message id="inspector.showInFileManager">
        <source>Show in Folder</source>
        <translation>폴더에서 보기</translation>
    </message>
    <message id="inspector.tags">
        <source>Tags</source>
        <translation>태그</translation>
    </message>
    <message id="media.bytesProgress">
        <source>%1 of %2 bytes</source>
        <translation>%2바이트 중 %1바이트</translation>
    </message>
    <message id="media.downloading">
        <source>%1% of %2</source>
        <translation>%2 중 %1%</translation>
    </message>
    <message id="media.failed">
        <source>Download failed</source>
        <translation>다운로드 실패</translation>
    </message>
    <message id="media.favourite">
        <source>Favourite</source>
        <translation>즐겨찾기</translation>
    </message>
    <message id="media.imageCount" numerus="yes">
        <source>%n pictures</source>
        <translation>
            <numerusform>이미지 %n장</numerusform>
        </translation>
    </message>
    <message id="media.imageMany">
        <source>%1 pictures</source>
        <translation>이미지 %1장</translation>
    </message>
    <message id="media.imageOne">
        <source>%1 picture</source>
        <translation>이미지 %1장</translation>
    </message>
    <message id="media.link">
        <source>Link</source>
        <translation>링크</translation>
    </message>
    <message id="media.next">
        <source>Next</source>
        <translation>다음</translation>
    </message>
    <message id="media.notDownloaded">
        <source>Not downloaded</source>
        <translation>다운로드 안 됨</translation>
    </message>
    <message id="media.onThisComputer">
        <source>On this computer</source>
        <translation>이 컴퓨터에 있음</translation>
    </message>
    <message id="media.percent">
        <source>%1 percent</source>
        <translation>%1퍼센트</translation>
    </message>
    <message id="media.previous">
        <source>Previous</source>
        <translation>이전</translation>
    </message>
    <message id="media.text">
        <source>Text</source>
        <translation>텍스트</translation>
    </message>
    <message id="media.video">
        <source>Video</source>
        <translation>동영상</translation>
    </message>
    <message id="media.videoLength">
        <source>Video %1</source>
        <translation>동영상 %1</translation>
    </message>
    <message id="media.videoMany">
        <source>%1 videos</source>
        <translation>동영상 %1개</translation>
    </message>
    <message id="media.videoOne">
        <source>%1 video</source>
        <translation>동영상 %1개</translation>
    </message>
    <message id="player.close">
        <source>Close</source>
        <translation>닫기</translation>
    </message>
    <message id="player.openOriginal">
        <source>Open Original</source>
        <translation>원본 열기</translation>
    </message>
    <message id="player.showInFileManager">
        <source>Show in Folder</source>
        <translation>폴더에서 보기</translation>
    </message>
    <message id="player.mute">
        <source>Mute</source>
        <translation>음소거</translation>
    </message>
    <message id="player.pause">
        <source>Pause</source>
        <translation>일시 정지</translation>
    </message>
    <message id="player.play">
        <source>Play</source>
        <translation>재생</translation>
    </message>
    <message id="player.position">
        <source>Playback Position</source>
        <translation>재생 위치</translation>
    </message>
    <message id="player.unmute">
        <source>Unmute</source>
        <translation>음소거 해제</translation>
    </message>
    <message id="quickSave.copyLink">
        <source>Copy a link</source>
        <translation>링크를 복사한 다음</translation>
    </message>
    <message id="quickSave.onClipboard">
        <source>On the Clipboard</source>
        <translation>클립보드에 있음</translation>
    </message>
    <message id="quickSave.openStashwell">
        <source>Open Stashwell</source>
        <translation>Stashwell 열기</translation>
    </message>
    <message id="quickSave.reading">
        <source>Reading %1…</source>
        <translation>%1 읽는 중…</translation>
    </message>
    <message id="quickSave.recentlySaved">
        <source>Recently Saved</source>
        <translation>최근 저장</translation>
    </message>
    <message id="quickSave.save">
        <source>Save</source>
        <translation>저장</translation>
    </message>
    <message id="quickSave.settings">
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message id="quickSave.thenOpen">
        <source>then open this panel again</source>
        <translation>이 패널을 다시 여세요</translation>
    </message>
    <message id="quickSave.title">
        <source>Quick Save</source>
        <translation>빠른 저장</translation>
    </message>
    <message id="saveLink.cancel">
        <source>Cancel</source>
        <translation>취소</translation>
    </message>
    <message id="saveLink.downloadMedia">
        <source>Download media</source>
        <translation>미디어 다운로드</translation>
    </message>
    <message id="saveLink.fetchingButton">
        <source>Fetching…</source>
        <translation>가져오는 중…</translation>
    </message>
    <message id="saveLink.fetchPost">
        <source>Fetch Post</source>
        <translation>게시물 가져오기</translation>
    </message>
    <message id="saveLink.fetching">
        <source>Fetching %1…</source>
        <translation>%1 가져오는 중…</translation>
    </message>
    <message id="saveLink.kicker">
        <source>New Save</source>
        <translation>새로 저장</translation>
    </message>
    <message id="saveLink.linkOnly">
        <source>link only</source>
        <translation>링크만</translation>
    </message>
    <message id="saveLink.pasteAnywhere">
        <source>Paste a link anywhere in the window</source>
        <translation>창 어디에서나 링크를 붙여넣을 수 있습니다</translation>
    </message>
    <message id="saveLink.pitch">
        <source>Paste the link of a post on X or of any web page. Stashwell keeps it, with its media, on this computer.</source>
        <translation>X 게시물이나 웹 페이지의 링크를 붙여넣으세요. Stashwell이 미디어와 함께 이 컴퓨터에 보관합니다.</translation>
    </message>
    <message id="saveLink.postURL">
        <source>Post or page link</source>
        <translation>게시물 또는 페이지 링크</translation>
    </message>
    <message id="saveLink.quality">
        <source>Quality</source>
        <translation>화질</translation>
    </message>
    <message id="saveLink.save">
        <source>Save</source>
        <translation>저장</translation>
    </message>
    <message id="saveLink.saveTo">
        <source>Save to</source>
        <translation>저장 위치</translation>
    </message>
    <message id="saveLink.title">
        <source>Save a Link</source>
        <translation>링크 저장</translation>
    </message>
    <message id="saveLink.willDownload">
        <source>will download</source>
        <translation>다운로드 예정</translation>
    </message>
    <message id="saveMenu.copyLink">
        <source>Copy Link</source>
        <translation>링크 복사</translation>
    </message>
    <message id="saveMenu.favourite">
        <source>Add to Favourites</source>
        <translation>즐겨찾기에 추가</translation>
    </message>
    <message id="saveMenu.fileIn">
        <source>Add to Collection</source>
        <translation>컬렉션에 추가</translation>
    </message>
    <message id="saveMenu.newCollection">
        <source>New Collection…</source>
        <translation>새 컬렉션…</translation>
    </message>
    <message id="saveMenu.openOriginal">
        <source>Open Original</source>
        <translation>원본 열기</translation>
    </message>
    <message id="saveMenu.removeLocalCopy">
        <source>Remove Download</source>
        <translation>다운로드 삭제</translation>
    </message>
    <message id="saveMenu.showInFileManager">
        <source>Show in Folder</source>
        <translation>폴더에서 보기</translation>
    </message>
    <message id="saveMenu.unfavourite">
        <source>Remove from Favourites</source>
        <translation>즐겨찾기에서 제거</translation>
    </message>
    <message id="search.clear">
        <source>Clear Search</source>
        <translation>검색 지우기</translation>
    </message>
    <message id="search.label">
        <source>Search</source>
        <translation>검색</translation>
    </message>
    <message id="search.prompt">
        <source>Search saves</source>
        <translation>저장 항목 검색</translation>
    </message>
    <message id="shelf.emptyMessage">
        <source>Copy a link and press Ctrl+V in this window, or drop a link onto it.</source>
        <translation>링크를 복사해 이 창에서 Ctrl+V를 누르거나, 링크를 창에 끌어다 놓으세요.</translation>
    </message>
    <message id="shelf.grid">
        <source>Grid</source>
        <translation>격자</translation>
    </message>
    <message id="shelf.latestSave">
        <source>Latest Save</source>
        <translation>최근 저장 항목</translation>
    </message>
    <message id="shelf.list">
        <source>List</source>
        <translation>목록</translation>
    </message>
    <message id="shelf.savedJustNow">
        <source>Saved just now</source>
        <translation>방금 저장됨</translation>
    </message>
    <message id="shelf.savedAgo">
        <source>Saved %1 ago</source>
        <translation>%1 전에 저장됨</translation>
    </message>
    <message id="shelf.saveLink">
        <source>Save Link</source>
        <translation>링크 저장</translation>
    </message>
    <message id="shelf.saveLinkHelp">
        <source>Save a link to a post or page</source>
        <translation>게시물이나 페이지의 링크 저장</translation>
    </message>
    <message id="shelf.showDetails">
        <source>Show Details</source>
        <translation>세부 정보 보기</translation>
    </message>
    <message id="sidebar.allSaves">
        <source>All Saves</source>
        <translation>모든 항목</translation>
    </message>
    <message id="sidebar.collections">
        <source>Collections</source>
        <translation>컬렉션</translation>
    </message>
    <message id="sidebar.delete">
        <source>Delete</source>
        <translation>삭제</translation>
    </message>
    <message id="sidebar.edit">
        <source>Edit…</source>
        <translation>편집…</translation>
    </message>
    <message id="sidebar.favourites">
        <source>Favourites</source>
        <translation>즐겨찾기</translation>
    </message>
    <message id="sidebar.filterBy">
        <source>Filter By</source>
        <translation>필터</translation>
    </message>
    <message id="sidebar.image">
        <source>Pictures</source>
        <translation>이미지</translation>
    </message>
    <message id="sidebar.library">
        <source>Library</source>
        <translation>보관함</translation>
    </message>
    <message id="sidebar.link">
        <source>Links</source>
        <translation>링크</translation>
    </message>
    <message id="sidebar.linkOnly">
        <source>Link Only</source>
        <translation>링크만</translation>
    </message>
    <message id="sidebar.newCollection">
        <source>New Collection</source>
        <translation>새 컬렉션</translation>
    </message>
    <message id="sidebar.pasteLink">
        <source>Paste a link</source>
        <translation>링크 붙여넣기</translation>
    </message>
    <message id="sidebar.recentlyAdded">
        <source>Recently Added</source>
        <translation>최근 추가</translation>
    </message>
    <message id="sidebar.settings">
        <source>Settings</source>
        <translation>설정</translation>
    </message>
    <message id="sidebar.text">
        <source>Text</source>
        <translation>텍스트</translation>
    </message>
    <message id="sidebar.topAuthors">
        <source>Top Authors</source>
        <translation>자주 저장한 작성자</translation>
    </message>
    <message id="sidebar.trash">
        <source>Trash</source>
        <translation>휴지통</translation>
    </message>
    <message id="sidebar.video">
        <source>Videos</source>
        <translation>동영상</translation>
    </message>
    <message id="sidebar.web">
        <source>Web</source>
        <translation>웹</translation>
    </message>
    <message id="status.move">
        <source>Move</source>
        <translation>이동</translation>
    </message>
    <message id="status.openItem">
        <source>Open</source>
        <translation>열기</translation>
    </message>
    <message id="status.saveLink">
        <source>Save link</source>
        <translation>링크 저장</translation>
    </message>
    <message id="status.search">
        <source>Search</source>
        <translation>검색</translation>
    </message>
    <message id="status.summary" numerus="yes">
        <source>%n saves · %1 in %2</source>
        <translation>
            <numerusform>%n개 · %2에 %1</numerusform>
        </translation>
    </message>
    <message id="status.trash">
        <source>Trash</source>
        <translation>휴지통으로</translation>
    </message>
    <message id="storage.downloadMissingMany">
        <source>Download %1 missing saves</source>
        <translation>받지 않은 항목 %1개 다운로드</translation>
    </message>
    <message id="storage.downloadMissingOne">
        <source>Download %1 missing save</source>
        <translation>받지 않은 항목 %1개 다운로드</translation>
    </message>
    <message id="storage.limit">
        <source>%1 · limit %2</source>
        <translation>%1 · 한도 %2</translation>
    </message>
    <message id="storage.onThisComputer">
        <source>On This Computer</source>
        <translation>이 컴퓨터에 있음</translation>
    </message>
    <message id="tag.add">
        <source>Add tag</source>
        <translation>태그 추가</translation>
    </message>
    <message id="tag.remove">
        <source>Remove tag %1</source>
        <translation>태그 %1 제거</translation>
    </message>
    <message id="time.days">
        <source>%1 d</source>
        <translation>%1일</translation>
    </message>
    <message id="time.hours">
        <source>%1 h</source>
        <translation>%1시간</translation>
    </message>
    <message id="time.minutes">
        <source>%1 min</source>
        <translation>%1분</translation>
    </message>
    <message id="time.now">
        <source>now</source>
        <translation>지금</translation>
    </message>
    <message id="time.weeks">
        <source>%1 wk</source>
        <translation>%1주</translation>
    </message>
</context>
</TS>
