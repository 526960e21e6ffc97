<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>AppActions</name>
    <message>
        <location filename="../src/app/actions.cpp" line="+45"/>
        <source>新規作成(&amp;N)	Ctrl+N</source>
        <translation>&amp;New	Ctrl+N</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>新規にﾌｧｲﾙを作成
新規ﾌｧｲﾙ</source>
        <translation>Create a new document
New</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>開く(&amp;O)...	Ctrl+O</source>
        <translation>&amp;Open...	Ctrl+O</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>既存のﾌｧｲﾙを開く
開く</source>
        <translation>Open an existing document
Open</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>上書き保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾌｧｲﾙに名前を付けて保存
保存</source>
        <translation>Save the active document
Save</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾌﾟﾘﾝﾀの設定(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾌﾟﾘﾝﾀおよびﾌﾟﾘﾝﾀ接続の設定を変更
印刷設定</source>
        <translation>Change the printer and printing options
Print Setup</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>ｱﾌﾟﾘｹｰｼｮﾝを終了
終了</source>
        <translation>Quit the application
Exit</translation>
    </message>
    <message>
        <location line="+2"/>
        <location line="+4"/>
        <source>指定のﾌｧｲﾙを開く</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>最近使ったﾌｧｲﾙ</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ﾂｰﾙ ﾊﾞｰの表示/非表示
ﾂｰﾙ ﾊﾞｰの表示切り替え</source>
        <translation>Show or hide the toolbar
Toggle Toolbar</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ｽﾃｰﾀｽ ﾊﾞｰ(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示
ｽﾃｰﾀｽ ﾊﾞｰの表示切り替え</source>
        <translation>Show or hide the status bar
Toggle Status Bar</translation>
    </message>
    <message>
        <location line="+3"/>
        <location line="+2"/>
        <source>Vernier のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About Vernier...</translation>
    </message>
    <message>
        <location line="-1"/>
        <location line="+2"/>
        <source>ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示
ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Display program information, version number and copyright
About</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>使い方(&amp;G)...</source>
        <translation>&amp;User Guide...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>このプログラムの使い方
使い方</source>
        <translation>How to use this program
User Guide</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>年月設定(&amp;N)</source>
        <translation>Set &amp;Date</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>星蝕を探し始める年月日を設定
年月設定</source>
        <translation>Set the date from which to look for occultations
Set Date</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表示モード(&amp;D)</source>
        <translation>Dis&amp;play Mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>表示の種類、地図、観測地の設定
表示モード</source>
        <translation>Choose the display, the map and the observer
Display Mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>検索モード(&amp;M)</source>
        <translation>Search &amp;Mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>次の星蝕を探す条件の設定
検索モード</source>
        <translation>Set the conditions for finding the next occultation
Search Mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>次の星蝕</source>
        <translation>Next Occultation</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>次の星蝕を表示
次の星蝕</source>
        <translation>Show the next occultation
Next Occultation</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>前の星蝕</source>
        <translation>Previous Occultation</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>前の星蝕を表示
前の星蝕</source>
        <translation>Show the previous occultation
Previous Occultation</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>今日の星蝕</source>
        <translation>Today&apos;s Occultation</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>今日以後の最初の星蝕を表示
今日の星蝕</source>
        <translation>Show the first occultation from today on
Today&apos;s Occultation</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>再描画</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>表示中の図を描き直す
再描画</source>
        <translation>Draw the current figure again
Redraw</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>星蝕リスト</source>
        <translation>Occultation List</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>星蝕検索結果のリスト
星蝕リスト</source>
        <translation>List the occultations a search finds
Occultation List</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>拡大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>地図拡大モード時拡大（拡大モードへは左ダブルクリックで）
拡大</source>
        <translation>Zoom in on the map in zoom mode (double-click the map to enter zoom mode)
Zoom In</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>縮小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>地図拡大モード時縮小（拡大モードへは左ダブルクリックで）
縮小</source>
        <translation>Zoom out of the map in zoom mode (double-click the map to enter zoom mode)
Zoom Out</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>地図拡大解除</source>
        <translation>Reset Zoom</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>拡大モードの解除（地球儀表示）
地図拡大解除</source>
        <translation>Leave zoom mode (back to the globe)
Reset Zoom</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>局地情報表示</source>
        <translation>Local Circumstances</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>地図表示から局地情報の表示へ
局地情報表示</source>
        <translation>Switch from the map to the local circumstances
Local Circumstances</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>地図表示へ戻る</source>
        <translation>Back to Map</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>局地情報表示や星蝕帯表示から地図表示に戻る
地図表示へ戻る</source>
        <translation>Return to the map from the local circumstances or the limit line table
Back to Map</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星空</source>
        <translation>Sky</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>星蝕時の星空の表示</source>
        <translation>Show the sky at the time of the occultation</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>月縁</source>
        <translation>Lunar Limb</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>接触時の月縁の表示</source>
        <translation>Show the lunar limb profile at contact</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測地の星蝕予報</source>
        <translation>Predictions for the Site</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測地から見える星蝕の一覧（接触時刻・位置角）
観測地の星蝕予報</source>
        <translation>List the occultations visible from the site (contact times, position angles)
Predictions for the Site</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>接食計画</source>
        <translation>Graze Plan</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測地に近い限界線を標高で補正し、観測点の線を引く
接食計画</source>
        <translation>The limit line nearest the site, moved for its height, with lines of stations
Graze Plan</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>印刷(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>表示中の図を印刷
印刷</source>
        <translation>Print the current figure
Print</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>印刷ﾌﾟﾚﾋﾞｭｰ(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>印刷ｲﾒｰｼﾞを表示
印刷ﾌﾟﾚﾋﾞｭｰ</source>
        <translation>Show the page as it will be printed
Print Preview</translation>
    </message>
</context>
<context>
    <name>Coastlines</name>
    <message>
        <location filename="../src/map/coastlines.h" line="+34"/>
        <source>CIA WORLD BANKデータファイルがありません！</source>
        <translation>The CIA World Bank coastline files are missing!</translation>
    </message>
</context>
<context>
    <name>DesktopProgram</name>
    <message>
        <location filename="../src/app/main.cpp" line="+63"/>
        <source>使い方: vernier [--data DIR] [--lang ja|en]</source>
        <translation>usage: vernier [--data DIR] [--lang ja|en]</translation>
    </message>
</context>
<context>
    <name>ElementFiles</name>
    <message>
        <location filename="../src/cli/messages.cpp" line="+42"/>
        <location filename="../src/program/navigation.cpp" line="+101"/>
        <source>ベッセル要素ファイルがありません！</source>
        <translation>The Besselian element file is missing!</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>EC****.prnファイルのあるディレクトリで起動して下さい。</source>
        <translation>Start the program in the directory that holds the EC****.prn files.</translation>
    </message>
    <message>
        <location line="+8"/>
        <location filename="../src/program/navigation.cpp" line="+35"/>
        <source>ベッセル要素ファイルが終了しました</source>
        <translation>End of the Besselian element files</translation>
    </message>
    <message>
        <location line="+1"/>
        <location filename="../src/program/navigation.cpp" line="+1"/>
        <source>早い年代を設定し、検索モードを変更ください。</source>
        <translation>Set an earlier date and change the search mode.</translation>
    </message>
    <message>
        <location line="+7"/>
        <location filename="../src/program/navigation.cpp" line="-21"/>
        <source>ベッセル要素ファイルが終了しました。</source>
        <translation>End of the Besselian element files.</translation>
    </message>
    <message>
        <location filename="../src/program/navigation.cpp" line="+102"/>
        <source>ベッセル要素ファイルの最初の星蝕です。</source>
        <translation>This is the first occultation in the Besselian element files.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>これより前のベッセル要素ファイルがありません。</source>
        <translation>There is no earlier Besselian element file.</translation>
    </message>
    <message>
        <location filename="../src/program/search_list.cpp" line="+96"/>
        <source>ベッセル要素ファイルがありません！ 1 </source>
        <translation>The Besselian element file is missing! 1 </translation>
    </message>
    <message>
        <location filename="../src/program/missing_band.cpp" line="+22"/>
        <source>データディレクトリにこの年代の読める要素ファイルがありません。</source>
        <translation>The data directory holds no readable element file for these years.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>データディレクトリにない要素ファイル：</source>
        <translation>The data directory lacks the element file </translation>
    </message>
</context>
<context>
    <name>GrazeTracks</name>
    <message>
        <location filename="../src/views/station_tracks_view.cpp" line="+52"/>
        <source>観測点の経路 (右の数字は限界線からの距離 m、東が +、経路の底の高さに)</source>
        <translation>Station tracks: numbers at right = m from the limit (east +), at each track&apos;s lowest point</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測点の経路 (右の数字は限界線からの距離 m、北が +、経路の底の高さに)</source>
        <translation>Station tracks: numbers at right = m from the limit (north +), at each track&apos;s lowest point</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>観測点の経路: 星が見える</source>
        <translation>Station track: star seen</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>観測点の経路: 星が隠れる</source>
        <translation>Station track: star hidden</translation>
    </message>
</context>
<context>
    <name>LimbGrid</name>
    <message>
        <location filename="../src/local/limb_grid.cpp" line="+84"/>
        <source>月の標高ファイル(%s)が短すぎます(%llu バイト、33177600 バイト必要)</source>
        <translation>The lunar height file (%s) is too short (%llu bytes; 33177600 bytes needed)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>月の標高ファイル(%s)が長すぎます(%llu バイト、33177600 バイトのはず)</source>
        <translation>The lunar height file (%s) is too long (%llu bytes; it should be 33177600 bytes)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>月の標高ファイル(%s)を読み込めません</source>
        <translation>The lunar height file (%s) cannot be read</translation>
    </message>
    <message>
        <location filename="../src/views/limb_view.cpp" line="+86"/>
        <source>月の標高ファイル(%s)がありません</source>
        <translation>The lunar height file (%s) is missing</translation>
    </message>
    <message>
        <location filename="../src/views/limb_command.cpp" line="+9"/>
        <source>月の標高データ(LRO LOLA の LDEM_16)は https://pds-geosciences.wustl.edu/ から入手できます</source>
        <translation>The lunar elevation model (LRO LOLA LDEM_16) is available from https://pds-geosciences.wustl.edu/</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>vernier-lunar-grid で LDEM_16 から LRO.dat を作り、データディレクトリに置いてください</source>
        <translation>Make LRO.dat from LDEM_16 with vernier-lunar-grid and put it in the data directory</translation>
    </message>
    <message>
        <location filename="../src/views/limb_command.h" line="+29"/>
        <source>月の標高ファイル(LRO.dat)がありません！</source>
        <translation>The lunar height file (LRO.dat) is missing!</translation>
    </message>
</context>
<context>
    <name>Navigation</name>
    <message>
        <location filename="../src/program/navigation.cpp" line="-90"/>
        <source>検索条件に合う星蝕は見つかりませんでした。</source>
        <translation>No occultation matching the search was found.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>これより後の要素ファイルがありません：</source>
        <translation>There is no later element file: </translation>
    </message>
    <message>
        <location line="+15"/>
        <source>このサロスは４００年の間にありませんでした。</source>
        <translation>No occultation of this series within 400 years.</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../src/app/command_availability.cpp" line="+9"/>
        <source>拡大・縮小は星蝕経路の地図でだけ使えます</source>
        <translation>Zooming works only on the map of the occultation path</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>メルカトル図法の地図は拡大・縮小できません</source>
        <translation>The Mercator map cannot be zoomed</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>拡大・縮小の前に、地図を左ダブルクリックして中心を選んでください</source>
        <translation>Before zooming, double-click the map to choose the centre</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>前の星蝕へは検索モード「全て」のときだけ戻れます</source>
        <translation>Previous Occultation works only in the search mode &quot;All&quot;</translation>
    </message>
    <message>
        <location filename="../src/app/data_exchange.cpp" line="+26"/>
        <source>%1 から %2 までの数字を入力してください。</source>
        <translation>Enter a number from %1 to %2.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Enter a whole number from %1 to %2.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>数字を入力してください。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>整数を入力してください。</source>
        <translation>Enter a whole number.</translation>
    </message>
    <message>
        <location filename="../src/app/dialog_controls.cpp" line="+54"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location filename="../src/app/document.cpp" line="+40"/>
        <source>最初の行が &quot;%1&quot; ではありません。</source>
        <translation>The first line is not &quot;%1&quot;.</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 行目が読めません: %2</source>
        <translation>Line %1 cannot be read: %2</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>読めません。</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>文書にしては大きすぎます。</source>
        <translation>The file is too large for a document.</translation>
    </message>
</context>
<context>
    <name>SiteList</name>
    <message>
        <location filename="../src/local/observer.cpp" line="+69"/>
        <source>都市情報(location.new)ファイルがありません！</source>
        <translation>The site list file (location.new) is missing!</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>location.newファイルのあるディレクトリで起動して下さい。</source>
        <translation>Start the program in the directory that holds location.new.</translation>
    </message>
</context>
<context>
    <name>vernier::AboutDialog</name>
    <message>
        <location filename="../src/app/about_dialog.cpp" line="+22"/>
        <source>Vernier のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About Vernier</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>Vernier Version %1</source>
        <translation>Vernier Version %1</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>Copyright (C) 2025 The Vernier authors</source>
        <translation>Copyright (C) 2025 The Vernier authors</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>月による恒星・惑星の掩蔽（星蝕）の経路と局地状況を表示します。</source>
        <translation>Shows the paths and local circumstances of occultations of stars and planets by the Moon.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>GNU General Public License 第3版以降の条件で自由に配布できます。</source>
        <translation>Free to redistribute under the GNU General Public License, version 3 or later.</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>vernier::BandBuildDialog</name>
    <message>
        <location filename="../src/app/band_builder.cpp" line="+19"/>
        <source>%1 時間 %2 分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 分 %2 秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <location line="+37"/>
        <location line="+87"/>
        <location line="+12"/>
        <source>要素ファイルの作成</source>
        <translation>Build element file</translation>
    </message>
    <message>
        <location line="-98"/>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>%1 を起動できませんでした。</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <location line="+35"/>
        <source>計算中</source>
        <translation>calculating</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 を作成しています。
見つかった星蝕: %2
残り時間: %3</source>
        <translation>Building %1.
Occultations found: %2
Time left: %3</translation>
    </message>
    <message>
        <location line="+22"/>
        <source>%1 の作成に失敗しました。
%2</source>
        <translation>Building %1 failed.
%2</translation>
    </message>
    <message>
        <location line="+12"/>
        <source>%1 年の要素ファイル (%2) がありません。作成しますか？</source>
        <translation>The element file for the year %1 (%2) is missing. Build it now?</translation>
    </message>
</context>
<context>
    <name>vernier::DateDialog</name>
    <message>
        <location filename="../src/app/date_dialog.cpp" line="+15"/>
        <source>年月設定メニュー</source>
        <translation>Set Date</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>年(&amp;Y) %1 ～ %2：</source>
        <translation>Year(&amp;Y) %1 to %2:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>月(&amp;M) 1 ～ 12：</source>
        <translation>Month(&amp;M) 1 to 12:</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>日(&amp;D) 1 ～ 31：</source>
        <translation>Day(&amp;D) 1 to 31:</translation>
    </message>
</context>
<context>
    <name>vernier::DisplayModeDialog</name>
    <message>
        <location filename="../src/app/display_mode_dialog.cpp" line="+17"/>
        <source>表示モードメニュー</source>
        <translation>Display Mode</translation>
    </message>
    <message>
        <location line="+27"/>
        <source>表示モード</source>
        <translation>Display mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星蝕経路</source>
        <translation>Occultation path</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星蝕限界線</source>
        <translation>Limit line table</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>局地状況</source>
        <translation>Local circumstances</translation>
    </message>
    <message>
        <location line="+6"/>
        <location line="+23"/>
        <source>経度：</source>
        <translation>Longitude:</translation>
    </message>
    <message>
        <location line="-21"/>
        <source>ステップ：</source>
        <translation>Step:</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>描画範囲</source>
        <translation>Map area</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>地球儀</source>
        <translation>Globe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>アジア</source>
        <translation>Asia</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ヨーロッパ</source>
        <translation>Europe</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>値入力</source>
        <translation>Custom</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>簡易地図を使用</source>
        <translation>Use the simple map</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>メルカトル図法</source>
        <translation>Mercator projection</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>緯度：</source>
        <translation>Latitude:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>倍率：</source>
        <translation>Scale:</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>表示設定</source>
        <translation>Display options</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>緯度経度線表示</source>
        <translation>Show the latitude and longitude grid</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>KMLファイル出力</source>
        <translation>Write a KML file</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>描画速度（分）：</source>
        <translation>Drawing step (min):</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>ΔT調整：</source>
        <translation>ΔT adjustment (s):</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>地図に観測地を表示</source>
        <translation>Mark the observer on the map</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>印刷も画面の色（黒地）で</source>
        <translation>Print in the screen colours (black background)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>観測地設定</source>
        <translation>Observer</translation>
    </message>
</context>
<context>
    <name>vernier::GrazeWindow</name>
    <message>
        <location filename="../src/app/graze_window.cpp" line="+39"/>
        <source>接食計画: %1</source>
        <translation>Graze plan: %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>計算</source>
        <translation>Compute</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>KML に書き出し...</source>
        <translation>Export KML...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>月縁断面と観測点の経路...</source>
        <translation>Limb profile and station tracks...</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+92"/>
        <source>経度</source>
        <translation>Longitude</translation>
    </message>
    <message>
        <location line="-92"/>
        <location line="+92"/>
        <source>緯度</source>
        <translation>Latitude</translation>
    </message>
    <message>
        <location line="-92"/>
        <source>海面の経度</source>
        <translation>Sea-level lon</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>海面の緯度</source>
        <translation>Sea-level lat</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>移動 m</source>
        <translation>Shift m</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>UT</source>
        <translation>UT</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>太陽高度</source>
        <translation>Sun alt</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>月高度</source>
        <translation>Moon alt</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>月方位</source>
        <translation>Moon az</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>PA</source>
        <translation>PA</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>AA</source>
        <translation>AA</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CA</source>
        <translation>CA</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>標高 m:</source>
        <translation>Height m:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>間隔 ′:</source>
        <translation>Step ′:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>行数:</source>
        <translation>Rows:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>観測点の間隔 m:</source>
        <translation>Station step m:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>範囲 ± m:</source>
        <translation>Span ± m:</translation>
    </message>
    <message>
        <location line="+49"/>
        <source>月縁断面と観測点の経路: %1</source>
        <translation>Limb profile and station tracks: %1</translation>
    </message>
    <message>
        <location line="+25"/>
        <source>東</source>
        <translation>east</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+3"/>
        <source>北</source>
        <translation>north</translation>
    </message>
    <message>
        <location line="-2"/>
        <source>西</source>
        <translation>west</translation>
    </message>
    <message>
        <location line="+0"/>
        <location line="+2"/>
        <source>南</source>
        <translation>south</translation>
    </message>
    <message>
        <location line="-1"/>
        <source>%1限界線（標高 %2 m に補正）、%3 %4′ 間隔。星が隠れるのは%5側。</source>
        <translation>The %1 limit, moved for a height of %2 m; %3 steps of %4′. The star is hidden on the %5 side.</translation>
    </message>
    <message>
        <location line="+7"/>
        <source> 観測地は線の%1 %2 m。</source>
        <translation> The site is on the %1 side of the line, %2 m away.</translation>
    </message>
    <message numerus="yes">
        <location line="+26"/>
        <source>%n 点</source>
        <translation>
            <numerusform>%n point</numerusform>
            <numerusform>%n points</numerusform>
        </translation>
    </message>
    <message>
        <location line="+6"/>
        <source>計画がありません</source>
        <translation>No plan</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>KML に書き出し</source>
        <translation>Export KML</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>KML ファイル (*.kml)</source>
        <translation>KML files (*.kml)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 に書き出せませんでした: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
</context>
<context>
    <name>vernier::MainWindow</name>
    <message>
        <location filename="../src/app/main_window.cpp" line="+86"/>
        <source>ﾂｰﾙ ﾊﾞｰ</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <location line="+28"/>
        <source>ﾚﾃﾞｨ</source>
        <translation>Ready</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>ｶﾅ</source>
        <translation>KANA</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CAP</source>
        <translation>CAP</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>SCRL</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <location line="+12"/>
        <location line="+20"/>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location line="-9"/>
        <location line="+19"/>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <location line="-16"/>
        <location line="+26"/>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location line="+143"/>
        <source>%1 が見つかりません。</source>
        <translation>%1 was not found.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 はフォルダです。文書ファイルを選んで下さい。</source>
        <translation>%1 is a folder. Choose a document file.</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>%1 は通常のファイルではないので開けません。</source>
        <translation>%1 is not a regular file and cannot be opened.</translation>
    </message>
    <message>
        <location line="+9"/>
        <source>%1 はこのプログラムの文書ではないので開けません。
%2</source>
        <translation>%1 cannot be opened: it is not a Vernier document.
%2</translation>
    </message>
    <message>
        <location line="+13"/>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>文書 (*.%1);;すべてのファイル (*)</source>
        <translation>Documents (*.%1);;All files (*)</translation>
    </message>
    <message>
        <location line="+10"/>
        <source>名前を付けて保存</source>
        <translation>Save As</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>文書 (*.%1)</source>
        <translation>Documents (*.%1)</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>%1 に保存できません。</source>
        <translation>Cannot save to %1.</translation>
    </message>
    <message>
        <location line="+72"/>
        <source>観測地</source>
        <translation>Observer</translation>
    </message>
    <message>
        <location line="+36"/>
        <source>接食計画は恒星の星蝕だけです</source>
        <translation>A graze plan is made for a star&apos;s occultation only</translation>
    </message>
</context>
<context>
    <name>vernier::ObserverEditor</name>
    <message>
        <location filename="../src/app/observer_editor.cpp" line="+16"/>
        <source>選択</source>
        <translation>From the site list</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>入力</source>
        <translation>Enter the position</translation>
    </message>
    <message>
        <location line="+14"/>
        <location line="+5"/>
        <source>経度：</source>
        <translation>Longitude:</translation>
    </message>
    <message>
        <location line="-4"/>
        <location line="+5"/>
        <source>緯度：</source>
        <translation>Latitude:</translation>
    </message>
    <message>
        <location line="-4"/>
        <location line="+5"/>
        <source>高度：</source>
        <translation>Height:</translation>
    </message>
</context>
<context>
    <name>vernier::OccultationView</name>
    <message>
        <location filename="../src/app/occultation_view.cpp" line="+131"/>
        <source>KMLファイルは書き出されませんでした。</source>
        <translation>The KML file was not written.</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>KMLファイルを書き出しました: %1</source>
        <translation>KML file written: %1</translation>
    </message>
    <message>
        <location line="+231"/>
        <source>星蝕リストに星蝕がありません。</source>
        <translation>The occultation list is empty.</translation>
    </message>
</context>
<context>
    <name>vernier::PredictionsModel</name>
    <message>
        <location filename="../src/app/predictions_window.cpp" line="+93"/>
        <source>日付 (UT)</source>
        <translation>Date (UT)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>世界時</source>
        <translation>UT</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>地方時</source>
        <translation>Local time</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>現象</source>
        <translation>Event</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>天体</source>
        <translation>Body</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>HIP</source>
        <translation>HIP</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>SAO</source>
        <translation>SAO</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>ZC</source>
        <translation>ZC</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>XZ</source>
        <translation>XZ</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>等級</source>
        <translation>Mag</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>輝面 %</source>
        <translation>Lit %</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>周縁</source>
        <translation>Limb</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>位置角</source>
        <translation>PA</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>軸角</source>
        <translation>AA</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>カスプ角</source>
        <translation>Cusp angle</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>カスプ</source>
        <translation>Cusp</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>高度</source>
        <translation>Altitude</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>方位</source>
        <translation>Azimuth</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>太陽高度</source>
        <translation>Sun altitude</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>昼間</source>
        <translation>Daylight</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>接食 (km)</source>
        <translation>Graze (km)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星の番号</source>
        <translation>Star</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>HD</source>
        <translation>HD</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>二重星</source>
        <translation>Double star</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>変光星</source>
        <translation>Variable</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>A (分/度)</source>
        <translation>A (min/°)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>B (分/度)</source>
        <translation>B (min/°)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>月縁の速さ (″/秒)</source>
        <translation>Rate (″/s)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>接触角</source>
        <translation>Contact angle</translation>
    </message>
    <message>
        <location line="+47"/>
        <source>星蝕の番号：同じ番号の行は同じ星蝕の潜入と出現です</source>
        <translation>The occultation&apos;s number: rows with the same number are the disappearance and reappearance of one occultation</translation>
    </message>
</context>
<context>
    <name>vernier::PredictionsWindow</name>
    <message>
        <location line="+37"/>
        <source>観測地の星蝕予報</source>
        <translation>Predictions for the Site</translation>
    </message>
    <message>
        <location line="+79"/>
        <source>観測地：%1  %2° %3, %4° %5, %6 m</source>
        <translation>Site: %1  %2° %3, %4° %5, %6 m</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>E</source>
        <translation>E</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>N</source>
        <translation>N</translation>
    </message>
    <message>
        <location line="-44"/>
        <source>計算</source>
        <translation>Compute</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>99：制限なし</source>
        <translation>99: no limit</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>両方</source>
        <translation>both</translation>
    </message>
    <message>
        <location line="-111"/>
        <location line="+111"/>
        <source>暗縁</source>
        <translation>dark</translation>
    </message>
    <message>
        <location line="-112"/>
        <location line="+112"/>
        <source>明縁</source>
        <translation>bright</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV に書き出す...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>カレンダーに書き出し...</source>
        <translation>Export calendar...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測結果の整約...</source>
        <translation>Report timings...</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <location line="-18"/>
        <source>5.0 までは要素ファイルの星。それより暗い星の星蝕は星表と暦から求め、キャッシュに保存します</source>
        <translation>Up to 5.0 the stars of the element files; the occultations of fainter stars are found from the star catalogue and the ephemeris and kept in the cache</translation>
    </message>
    <message>
        <location line="+60"/>
        <source>開始日 (UT)：</source>
        <translation>From (UT):</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>日数：</source>
        <translation>Days:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>星の限界等級：</source>
        <translation>Stars to magnitude:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>時間帯：</source>
        <translation>Time zone:</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>等級の上限：</source>
        <translation>Magnitude at most:</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>周縁：</source>
        <translation>Limb:</translation>
    </message>
    <message>
        <location line="+73"/>
        <source>等級 %1 までの計算は %2 日までです。期間を短くするか、限界等級を明るくしてください。</source>
        <translation>Stars to magnitude %1 can be computed for at most %2 days: choose a shorter span or a brighter limit.</translation>
    </message>
    <message>
        <location line="+14"/>
        <source>計算中...</source>
        <translation>Computing...</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>計算中（星表の星は暦から求めます）...</source>
        <translation>Computing (the catalogue stars from the ephemeris)...</translation>
    </message>
    <message>
        <location line="+58"/>
        <source>（中止しました）</source>
        <translation>; cancelled</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>（要素ファイル %1 がありません）</source>
        <translation>; the element file %1 is missing</translation>
    </message>
    <message>
        <location line="+3"/>
        <source>。%1</source>
        <translation>. %1</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>星蝕は見つかりませんでした。</source>
        <translation>No occultations found.</translation>
    </message>
    <message numerus="yes">
        <location line="+2"/>
        <source>%n 件の接触</source>
        <translation>
            <numerusform>%n contact</numerusform>
            <numerusform>%n contacts</numerusform>
        </translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 件を表示（全 %2 件）</source>
        <translation>%1 of %2 contacts shown</translation>
    </message>
    <message>
        <location line="-16"/>
        <source>。%1。一覧はここで終わります</source>
        <translation>; %1; the list ends there</translation>
    </message>
    <message>
        <location line="+43"/>
        <source>予報の書き出し</source>
        <translation>Export predictions</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>%1 に書き込めませんでした</source>
        <translation>Could not write %1</translation>
    </message>
    <message>
        <location line="+32"/>
        <source>カレンダーに書き出し</source>
        <translation>Export calendar</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>iCalendar ファイル (*.ics)</source>
        <translation>iCalendar files (*.ics)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 に書き出せませんでした: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
</context>
<context>
    <name>vernier::SearchListDialog</name>
    <message>
        <location filename="../src/app/search_list_dialog.cpp" line="+41"/>
        <source>星蝕検索リスト表示</source>
        <translation>Occultation Search List</translation>
    </message>
    <message>
        <location line="+11"/>
        <source>検索開始</source>
        <translation>Search</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星蝕図描画</source>
        <translation>Draw Map</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>検索開始年</source>
        <translation>First year</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>調査期間（年）</source>
        <translation>Years to search</translation>
    </message>
    <message>
        <location line="+17"/>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <location line="+0"/>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vernier::SearchModeDialog</name>
    <message>
        <location filename="../src/app/search_mode_dialog.cpp" line="+17"/>
        <source>検索モードメニュー</source>
        <translation>Search Mode</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>検索モード</source>
        <translation>Search mode</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>全て</source>
        <translation>All</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>星蝕タイプ</source>
        <translation>Occultation type</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測地で見える星蝕</source>
        <translation>Seen from the observer&apos;s site</translation>
    </message>
    <message>
        <location line="+21"/>
        <source>深さの下限（限界線 0、中心線 0.5）：</source>
        <translation>Least depth (0 at the limit line, 0.5 on the central line):</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>観測地での星蝕の深さがこの値を超える星蝕を探します。0 で観測地から見える星蝕すべて。</source>
        <translation>Finds the occultations whose depth at the site exceeds this value; 0 finds every occultation seen from the site.</translation>
    </message>
    <message>
        <location line="+33"/>
        <source>部分星蝕（中心線なし）</source>
        <translation>PARTIAL OCCULTATION (no central line)</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>中心星蝕</source>
        <translation>CENTRAL OCCULTATION</translation>
    </message>
    <message>
        <location line="-56"/>
        <source>ＸＺ星表番号</source>
        <translation>XZ catalogue number</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>観測地</source>
        <translation>Observer</translation>
    </message>
    <message>
        <location line="+9"/>
        <location line="+9"/>
        <source>過去検索範囲（年）：</source>
        <translation>Search back (years):</translation>
    </message>
    <message>
        <location line="+7"/>
        <source>検索開始年月設定</source>
        <translation>Set Date...</translation>
    </message>
</context>
<context>
    <name>vernier::TimingsWindow</name>
    <message>
        <location filename="../src/app/timings_window.cpp" line="+20"/>
        <source>観測結果の整約</source>
        <translation>Report timings</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>観測時刻ファイルを開く...</source>
        <translation>Open timings file...</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV に書き出し...</source>
        <translation>Export CSV...</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>date,utc,kind,star,lon,lat,height の見出しを持つ CSV ファイルを開いてください。</source>
        <translation>Open a CSV file with the header date,utc,kind,star,lon,lat,height.</translation>
    </message>
    <message>
        <location line="+31"/>
        <source>%1 を読めません</source>
        <translation>Cannot read %1</translation>
    </message>
    <message>
        <location line="+8"/>
        <source>整約できません（%1）:
%2</source>
        <translation>Not reduced (%1):
%2</translation>
    </message>
    <message>
        <location line="+16"/>
        <source>%1 に観測時刻がありません</source>
        <translation>%1 holds no timings</translation>
    </message>
    <message numerus="yes">
        <location line="+1"/>
        <source>%n 件を整約しました</source>
        <translation>
            <numerusform>%n timing reduced</numerusform>
            <numerusform>%n timings reduced</numerusform>
        </translation>
    </message>
    <message>
        <location line="+23"/>
        <source>観測時刻ファイルを開く</source>
        <translation>Open timings file</translation>
    </message>
    <message>
        <location line="+1"/>
        <source>CSV ファイル (*.csv);;すべてのファイル (*)</source>
        <translation>CSV files (*.csv);;All files (*)</translation>
    </message>
    <message>
        <location line="+5"/>
        <source>CSV に書き出し</source>
        <translation>Export CSV</translation>
    </message>
    <message>
        <location line="+2"/>
        <source>CSV ファイル (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <location line="+4"/>
        <source>%1 に書き出せませんでした: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
</context>
<context>
    <name>vernier::UserGuideDialog</name>
    <message>
        <location filename="../src/app/about_dialog.cpp" line="+8"/>
        <source>&lt;h3&gt;星蝕を選ぶ&lt;/h3&gt;&lt;p&gt;開くと今日以後の最初の星蝕を表示します。ツールバーの矢印（または → ←、Page Down / Page Up）で次と前の星蝕へ、Home で今日へ移ります。「年月設定」で日付を、「検索リスト」で一年分の星蝕の一覧を選べます（行をダブルクリックするとその星蝕を表示）。&lt;/p&gt;&lt;h3&gt;観測地&lt;/h3&gt;&lt;p&gt;「表示モード」で観測地を一覧から選ぶか経緯度を入力します。地図を右ダブルクリックしてもその地点が観測地になります。観測地は地図に小さな輪で示されます。&lt;/p&gt;&lt;h3&gt;観測地で見える星蝕を探す&lt;/h3&gt;&lt;p&gt;「検索モード」の「観測地で見える星蝕」では、観測地での星蝕の深さ（限界線で 0、恒星の中心線で 0.5）が下限を超える星蝕だけを次々に表示します。下限 0 で観測地から見える星蝕すべてです。地図の右下に深さ、天体の高度、太陽の高度が出ます。見つからないときはそう表示します。&lt;/p&gt;&lt;h3&gt;表示&lt;/h3&gt;&lt;p&gt;経路図：影の通る地域、限界線、最大の地点と時刻（UT、日付はその時刻の UT の日付）。限界線表：経度ごとの北限・中心線・南限の緯度と時刻（中心線のない部分星蝕では地上にある限界線）。局地状況：潜入・出現の時刻（UT、標準時、地方平均時）、高度、方位、位置角、軸角、太陽高度、月の暗縁・明縁。ツールバーから最大時の星空と月縁の地形も見られます。&lt;/p&gt;&lt;h3&gt;観測地の星蝕予報&lt;/h3&gt;&lt;p&gt;期間中に観測地で見えるすべての潜入（D）と出現（R）を表にします。列見出しで並べ替え、等級と周縁で絞り込み、CSV に書き出せます。左端の番号が同じ行は同じ星蝕です。行をダブルクリックするとその星蝕の局地状況を主ウィンドウに表示します。&lt;/p&gt;&lt;h3&gt;データと設定&lt;/h3&gt;&lt;p&gt;星蝕は要素ファイル（ecad22.PRN など、200 年ごと）から読みます。ない年代へ移ると作成を提案します。設定は ~/.config/vernier/vernier.conf に保存されます。ファイル → 保存で設定と日付を文書に保存できます。コマンドラインの vernier-cli は同じ表示と計算を行います（vernier-cli --help）。&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Choosing an occultation&lt;/h3&gt;&lt;p&gt;The program opens on the first occultation on or after today. The toolbar&apos;s arrows (or Right and Left, Page Down and Page Up) step to the next and previous occultations, Home returns to today. Set Date picks a date, and the search list shows a year&apos;s occultations (double-click a row to show it).&lt;/p&gt;&lt;h3&gt;The observer&lt;/h3&gt;&lt;p&gt;Display Mode chooses the observer from the site list or takes a typed longitude and latitude. A right double-click on the map makes that point the observer. The observer is marked on the map with a small ring.&lt;/p&gt;&lt;h3&gt;Finding the occultations seen from your site&lt;/h3&gt;&lt;p&gt;In Search Mode, &quot;Seen from the observer&apos;s site&quot; steps only through the occultations whose depth at the site (0 at a limit line, 0.5 on a star&apos;s central line) exceeds the least depth given; 0 finds every occultation seen from the site. The map&apos;s lower right corner shows the depth, the body&apos;s altitude and the Sun&apos;s. When none is found, the program says so.&lt;/p&gt;&lt;h3&gt;The displays&lt;/h3&gt;&lt;p&gt;Path map: where the shadow passes, the limit lines, the point and time of the greatest occultation (UT, with the UT date of that instant). Limit-line table: for each longitude the latitudes of the northern limit, the central line and the southern limit and their time (for a partial occultation without a central line, the limit that crosses the Earth). Local circumstances: the times of disappearance and reappearance (UT, standard time, local mean time), altitude, azimuth, position and axis angles, the Sun&apos;s altitude and the Moon&apos;s dark or bright limb. The toolbar also shows the sky at the maximum and the lunar limb profile.&lt;/p&gt;&lt;h3&gt;Predictions for the site&lt;/h3&gt;&lt;p&gt;Every disappearance (D) and reappearance (R) seen from the site over a span, in a table: sort by a column, filter by magnitude and limb, export to CSV. Rows with the same number at the left belong to one occultation. Double-click a row to show that occultation&apos;s local circumstances in the main window.&lt;/p&gt;&lt;h3&gt;Data and settings&lt;/h3&gt;&lt;p&gt;The occultations come from element files (ecad22.PRN and so on, one per 200 years). Moving to years without one, the program offers to build it. The settings are kept in ~/.config/vernier/vernier.conf; File, Save writes the settings and the date to a document. The command line program vernier-cli gives the same displays and computations (vernier-cli --help).&lt;/p&gt;</translation>
    </message>
    <message>
        <location line="+29"/>
        <source>使い方</source>
        <translation>User Guide</translation>
    </message>
    <message>
        <location line="+6"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
