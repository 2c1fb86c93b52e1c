#include "cli/CliCommands.h"

#include "cli/CalendarCommands.h"
#include "cli/CliText.h"
#include "cli/EditCommands.h"
#include "cli/ExportCommand.h"
#include "cli/ListCommand.h"
#include "cli/SyncCommand.h"
#include "core/text/Cp932Codec.h"
#include "core/time/DateTime.h"

#include <string_view>

namespace dolvane::cli {
namespace {

constexpr int kErrorExit = 2;

constexpr std::string_view kHelp = R"(使い方: dolvane-cli <コマンド> [オプション]

Dolvane の ToDo リストを端末やスクリプトから扱います。ファイルの読み書きは画面のプログラムと同じ規則です。

  list      タブに表示される ToDo を書き出す
      --file PATH          ToDo リスト (省略時: プログラムの隣の data/<ユーザー名>/todolist.txt)
      --view all|none|search|open|done
                           タブ: 全て, なし, 検索, 未完了, 完了 (省略時 all、--search だけなら search)
      --category TEXT      分類タブ (open と done のみ。全て, なし, または分類名)
      --search TEXT        検索する文字 (実行者・分類・すべきこと)
      --exact | --fold     大文字小文字等を区別する / しない (省略時: 設定の値)
      --keep-days N        完了した ToDo の保持日数 0-60 (省略時: 設定の値)
      --now "yyyy/mm/dd hh:nn"
                           この時刻で残り時間・経過時間・状態を計算する (省略時: 現在時刻)
      --format text|tsv|csv|json
      --cp932              csv を cp932 で書き出す (画面の CSV 出力と同じバイト列)
    tsv の各行 (見出しなし、タブ区切り): 行番号, 完了 1/0, 開始日時, 期限, 重要度, 実行者,
      すべきこと, 分類, 進捗, 残り時間, 経過時間, 警告, 完了日時, 警告時間, 状態
      (overdue, warning, completed, completed-old, normal)。文字の中の改行は \n、タブは \t、
      \ は \\ と書く。

  add --task TEXT [--start 日時] [--deadline 日時] [--importance 0-5] [--executor TEXT]
      [--category TEXT] [--progress N] [--warning-hours N] [--file PATH] [--now 日時]
                           ToDo を一つ追加し、その行番号を書き出す

  done LINE [--file PATH] [--now 日時]
                           行番号 LINE の ToDo を完了にする (完了日時は現在)

  export --format ics [--view ...] [--category TEXT] [--search TEXT] [--exact | --fold]
      [--file PATH] [--now 日時]
                           タブの ToDo を iCalendar (RFC 5545) の VTODO として書き出す。
                           SUMMARY はすべきことの最初の行、DESCRIPTION はすべきこと全体 (2 行以上
                           のとき) と実行者、DTSTART と DUE は開始日時と期限 (この機械のタイム
                           ゾーン)、COMPLETED は完了日時、STATUS は NEEDS-ACTION / IN-PROCESS
                           (進捗 1 以上) / COMPLETED、PRIORITY は重要度 5→1 4→3 3→5 2→7 1→9
                           (0 は書かない)、CATEGORIES は分類、PERCENT-COMPLETE は進捗。UID は開始
                           日時とすべきことの最初の行から決まり、もう一度書き出しても同じになる。
                           DTSTAMP は --now (省略時: 現在時刻)。

  holidays --year YYYY [--holiday-file PATH]
                           その年の祝日を "yyyy/mm/dd<TAB>名前<TAB>種類" で書き出す
                           (種類: ordinary, plain, marked, marked2, derived)

  calendar --month yyyy/mm [--file PATH] [--holiday-file PATH]
                           月のカレンダーの日付と、各日の ToDo (すべきことの先頭と進捗) を書き出す

  sync [--file PATH]       ToDo リストと CalDAV サーバーのカレンダーを双方向に同期する
                           (こちらとサーバーの両方で同じ項目が変わったときは両方を残し、
                           サーバー側を "（競合）" で始まる別の ToDo にする)
  sync --setup URL USER [--cafile PATH]
                           サーバーのアドレスから ToDo を置くカレンダーを探し、パスワードを
                           端末から (端末でなければ標準入力の 1 行目から) 読んで保存する。
                           URL とユーザー名はプログラムの dolvane-state.ini の [sync] に、
                           パスワードは Secret Service に (なければ ~/.config/dolvane/
                           sync-password にモード 0600 で) 置く。--cafile はサーバー証明書の
                           CA ファイル

  --help                   この説明

入出力の文字は UTF-8、ファイルは cp932 です。誤りは標準エラーに書き、終了コード 2 で終わります。
)";

int Dispatch(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out,
             std::ostream& err)
{
    if (arguments.empty()) {
        err << kHelp;
        return kErrorExit;
    }
    if (arguments.front() == "--help" || arguments.front() == "-h" || arguments.front() == "help") {
        out << kHelp;
        return 0;
    }
    const std::string& command = arguments.front();
    const auto rest = arguments.subspan(1);
    if (command == "list") {
        return RunList(rest, environment, out);
    }
    if (command == "add") {
        return RunAdd(rest, environment, out);
    }
    if (command == "done") {
        return RunDone(rest, environment, out, err);
    }
    if (command == "export") {
        return RunExport(rest, environment, out);
    }
    if (command == "holidays") {
        return RunHolidays(rest, environment, out);
    }
    if (command == "calendar") {
        return RunCalendar(rest, environment, out);
    }
    if (command == "sync") {
        return RunSync(rest, environment, out);
    }
    throw CliError("不明なコマンドです: " + command + " (dolvane-cli --help で使い方を表示)");
}

}  // namespace

int RunCli(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out,
           std::ostream& err)
{
    try {
        return Dispatch(arguments, environment, out, err);
    } catch (const CliError& error) {
        err << "dolvane-cli: " << error.what() << '\n';
    } catch (const ConvertError& error) {
        err << "dolvane-cli: " << DisplayUtf8(error.Message()) << '\n';
    } catch (const std::exception& error) {
        err << "dolvane-cli: " << error.what() << '\n';
    }
    return kErrorExit;
}

}  // namespace dolvane::cli
