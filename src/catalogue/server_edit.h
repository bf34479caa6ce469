// The host editor's rules, apart from any window: the blanks taken out of typed fields, the
// checks in their order, and adding, modifying and deleting servers with the texts that tell the
// user the outcome. The editor window and lumoractl both go through these operations.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "base/text.h"
#include "catalogue/server_store.h"
#include "services/db_connection.h"
#include "services/record_set.h"

namespace lumora::catalogue {

// The editor's two modes: its window title and the caption of its save button.
inline constexpr char kAddMode[] = "添加主机";
inline constexpr char kModifyMode[] = "修改主机";
// The user field of a new server.
inline constexpr char kDefaultUser[] = "Administrator";

// What the user is told, word for word.
namespace edit_text {
inline constexpr char kAddressEmpty[] = "远程IP不能为空!";
inline constexpr char kAddressWithoutDot[] = "请填写正确的IP或域名!";
inline constexpr char kAddressWithPort[] = "远程IP中不能有“:”或“/”，端口请填在远程端口里!";
inline constexpr char kPortEmpty[] = "远程端口不能为空!";
inline constexpr char kPortNotANumber[] = "远程端口必须是1到65535之间的数字!";
inline constexpr char kUserEmpty[] = "登录用户名不能为空!";
inline constexpr char kAddressTooLong[] = "远程IP不能超过255个字符!";
inline constexpr char kUserTooLong[] = "登录用户名不能超过255个字符!";
inline constexpr char kPasswordTooLong[] = "登录密码不能超过255个字符!";
inline constexpr char kRemarkTooLong[] = "备注不能超过255个字符!";
inline constexpr char kDuplicate[] = "目标服务器已存在,不必重复添加!";
inline constexpr char kAdded[] = "服务器添加成功,可以继续添加!";
inline constexpr char kAddFailed[] = "服务器添加失败!";
inline constexpr char kModifiedTip[] = "服务器修改成功!";
inline constexpr char kModified[] = "服务器信息修改成功!";
inline constexpr char kModifyFailed[] = "服务器信息修改失败!";
inline constexpr char kListEmpty[] = "服务器列表是空的!";
inline constexpr char kNothingToModify[] = "请选中要修改的服务器！";
inline constexpr char kNothingToDelete[] = "请选择要删除的服务器！";
inline constexpr char kDeleted[] = "删除服务器成功！";
inline constexpr char kDeleteFailed[] = "删除服务器失败！";
inline constexpr char kMessageTitle[] = "提示信息!";
inline constexpr char kDeleteTitle[] = "警告！";
}  // namespace edit_text

// "确定要删除选中的" + count + "个服务器？"
Text DeleteQuestion(int count);

// The editor's five fields.
struct ServerFields {
  Text address;
  Text port;
  Text user;
  Text password;
  Text remark;
};

// Address, port, user and password without any half-width or full-width blank, wherever it
// stands; the remark unchanged.
ServerFields CleanFields(const ServerFields& typed);

// Whether `port` is a decimal number from 1 to 65535 (leading zeros allowed).
bool IsValidPort(const Text& port);

// The tip for the first check that cleaned fields fail (address empty, address with a port or a
// mask in it, address without a dot, port empty, port not a number from 1 to 65535, user empty,
// then any field longer than its column holds); empty when they pass.
Text FieldProblem(const ServerFields& cleaned);

enum class EditResult { kInvalid, kDuplicate, kAdded, kAddFailed, kModified, kModifyFailed };

struct EditOutcome {
  EditResult result;
  Text message;  // the tip (kInvalid) or the message box text
};

// The first row whose server name equals `name` byte for byte, every column read; a row that
// Jet matched only because it ignores letter case is passed over.
std::optional<ServerRecord> FindServer(services::RecordSet& records, const Text& name);

// Whether a row other than the one numbered `except` has a name that Jet's "=" takes for `name`
// (letter case ignored): as on Windows, where the catalogue goes through Jet, such a row is a
// duplicate. Host names are not case-sensitive either. (Elsewhere, AsciiLowerCase gives two such
// names one key.)
bool OtherServerNamedAlike(services::RecordSet& records, const Text& name,
                           const Text& except = Text());

// Cleans and checks `typed`, refuses a server name that is stored already, and adds the row
// with an empty domain. The row is read back: when it was not stored the outcome is
// kAddFailed, and whatever part of it reached the table is taken out again.
EditOutcome AddServerFromFields(services::RecordSet& records, const ServerFields& typed);

// The row numbered `number`, every column read; nullopt when there is none.
std::optional<ServerRecord> FindServerNumbered(services::RecordSet& records, const Text& number);

// The record numbers of every row whose name equals `name` byte for byte, in table order.
std::vector<Text> ServerNumbersNamed(services::RecordSet& records, const Text& name);

// Cleans and checks `typed` and writes it, with `domain`, over the row numbered `recordNumber`.
// The address may rename the row, but not onto the name of another stored row (kDuplicate).
// A row that is no longer there gives kModifyFailed.
EditOutcome ModifyServerFromFields(services::RecordSet& records, const Text& recordNumber,
                                   const ServerFields& typed, const Text& domain);

struct DeleteOutcome {
  int deleted = 0;  // rows that went, from the front of the list
  bool complete = false;
};

// Deletes the rows numbered `numbers`, in order, and stops at the first deletion that fails
// (a row that is not there fails too). `between` runs after each successful one.
DeleteOutcome DeleteServersNumbered(services::DBConnection& connection,
                                    services::RecordSet& records, std::span<const Text> numbers,
                                    const std::function<void()>& between = {});

}  // namespace lumora::catalogue
