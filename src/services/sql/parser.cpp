#include "services/sql/parser.h"

#include <charconv>

#include "services/sql/lexer.h"

namespace lumora::services::sql {
namespace {

// Conditions are parsed and evaluated recursively; a bound on their parts (comparisons,
// NOT, parentheses, AND/OR) keeps hostile text such as thousands of "(" off the stack.
constexpr std::size_t kMaxConditionParts = 256;

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  std::optional<sql::Statement> Run() {
    std::optional<sql::Statement> statement;
    if (Keyword("SELECT")) {
      statement = Select();
    } else if (Keyword("UPDATE")) {
      statement = Update();
    } else if (Keyword("DELETE")) {
      statement = Delete();
    }
    if (!statement || failed_) {
      return std::nullopt;
    }
    Symbol(";");
    if (at_ != tokens_.size()) {
      return std::nullopt;
    }
    return statement;
  }

 private:
  const Token* Peek() const { return at_ < tokens_.size() ? &tokens_[at_] : nullptr; }

  bool Accept(TokenKind kind, std::string_view text) {
    const Token* token = Peek();
    if (token == nullptr || token->kind != kind || token->text != text) {
      return false;
    }
    ++at_;
    return true;
  }
  bool Keyword(std::string_view word) { return Accept(TokenKind::kKeyword, word); }
  bool Symbol(std::string_view symbol) { return Accept(TokenKind::kSymbol, symbol); }

  bool Name(Text& name) {
    const Token* token = Peek();
    if (token == nullptr || token->kind != TokenKind::kName) {
      return false;
    }
    name = token->text;
    ++at_;
    return true;
  }

  // "WHERE condition" or nothing; marks the parse failed when WHERE has no valid condition.
  std::optional<Condition> OptionalWhere() {
    if (!Keyword("WHERE")) {
      return std::nullopt;
    }
    std::optional<Condition> condition = Or();
    if (!condition) {
      failed_ = true;
    }
    return condition;
  }

  std::optional<sql::Statement> Select() {
    SelectStatement select;
    if (!Symbol("*") || !Keyword("FROM") || !Name(select.table)) {
      return std::nullopt;
    }
    select.where = OptionalWhere();
    return select;
  }

  std::optional<sql::Statement> Update() {
    UpdateStatement update;
    if (!Name(update.table) || !Keyword("SET")) {
      return std::nullopt;
    }
    do {
      Assignment assignment;
      if (!Name(assignment.column) || !Symbol("=")) {
        return std::nullopt;
      }
      std::optional<Operand> value = ReadOperand();
      if (!value || value->kind == Operand::Kind::kColumn) {
        return std::nullopt;
      }
      assignment.value = std::move(*value);
      update.assignments.push_back(std::move(assignment));
    } while (Symbol(","));
    update.where = OptionalWhere();
    return update;
  }

  std::optional<sql::Statement> Delete() {
    DeleteStatement remove;
    Symbol("*");
    if (!Keyword("FROM") || !Name(remove.table)) {
      return std::nullopt;
    }
    remove.where = OptionalWhere();
    return remove;
  }

  static Condition Join(Condition::Kind kind, Condition left, Condition right) {
    Condition joined;
    joined.kind = kind;
    joined.children.push_back(std::move(left));
    joined.children.push_back(std::move(right));
    return joined;
  }

  // Counts one more part of the condition; false, with the parse failed, once there are too many.
  bool CountPart() {
    if (++parts_ > kMaxConditionParts) {
      failed_ = true;
    }
    return !failed_;
  }

  std::optional<Condition> Or() {
    std::optional<Condition> left = And();
    while (left && Keyword("OR") && CountPart()) {
      std::optional<Condition> right = And();
      if (!right) {
        return std::nullopt;
      }
      left = Join(Condition::Kind::kOr, std::move(*left), std::move(*right));
    }
    return left;
  }

  std::optional<Condition> And() {
    std::optional<Condition> left = Not();
    while (left && Keyword("AND") && CountPart()) {
      std::optional<Condition> right = Not();
      if (!right) {
        return std::nullopt;
      }
      left = Join(Condition::Kind::kAnd, std::move(*left), std::move(*right));
    }
    return left;
  }

  std::optional<Condition> Not() {
    if (!CountPart()) {
      return std::nullopt;
    }
    if (!Keyword("NOT")) {
      return Primary();
    }
    std::optional<Condition> inner = Not();
    if (!inner) {
      return std::nullopt;
    }
    Condition negated;
    negated.kind = Condition::Kind::kNot;
    negated.children.push_back(std::move(*inner));
    return negated;
  }

  std::optional<Condition> Primary() {
    if (Symbol("(")) {
      std::optional<Condition> inner = Or();
      if (!inner || !Symbol(")")) {
        return std::nullopt;
      }
      return inner;
    }
    std::optional<sql::Operand> left = ReadOperand();
    if (!left) {
      return std::nullopt;
    }
    Condition condition;
    condition.left = std::move(*left);
    if (Keyword("IS")) {
      condition.kind = Keyword("NOT") ? Condition::Kind::kIsNotNull : Condition::Kind::kIsNull;
      if (!Keyword("NULL")) {
        return std::nullopt;
      }
      return condition;
    }
    std::optional<CompareOp> op = CompareOperator();
    std::optional<sql::Operand> right = op ? ReadOperand() : std::nullopt;
    if (!right) {
      return std::nullopt;
    }
    condition.op = *op;
    condition.right = std::move(*right);
    return condition;
  }

  std::optional<CompareOp> CompareOperator() {
    static constexpr std::pair<std::string_view, CompareOp> kOperators[] = {
        {"=", CompareOp::kEqual},      {"<>", CompareOp::kNotEqual},
        {"<", CompareOp::kLess},       {">", CompareOp::kGreater},
        {"<=", CompareOp::kLessEqual}, {">=", CompareOp::kGreaterEqual}};
    for (const auto& [symbol, op] : kOperators) {
      if (Symbol(symbol)) {
        return op;
      }
    }
    return std::nullopt;
  }

  std::optional<sql::Operand> ReadOperand() {
    sql::Operand operand;
    if (Keyword("NULL")) {
      operand.kind = Operand::Kind::kNull;
      return operand;
    }
    if (Name(operand.text)) {
      operand.kind = Operand::Kind::kColumn;
      return operand;
    }
    const bool negative = Symbol("-");
    const Token* token = Peek();
    if (token == nullptr) {
      return std::nullopt;
    }
    if (token->kind == TokenKind::kText && !negative) {
      operand.kind = Operand::Kind::kText;
      operand.text = token->text;
      ++at_;
      return operand;
    }
    if (token->kind != TokenKind::kNumber) {
      return std::nullopt;
    }
    const Text& digits = token->text;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), operand.number);
    if (error != std::errc() || end != digits.data() + digits.size()) {
      return std::nullopt;
    }
    operand.kind = Operand::Kind::kNumber;
    operand.text = negative ? "-" + digits : digits;
    operand.number = negative ? -operand.number : operand.number;
    ++at_;
    return operand;
  }

  std::vector<Token> tokens_;
  std::size_t at_ = 0;
  bool failed_ = false;
  std::size_t parts_ = 0;
};

}  // namespace

std::optional<Statement> ParseStatement(std::string_view sql) {
  std::optional<std::vector<Token>> tokens = Tokenize(sql);
  if (!tokens) {
    return std::nullopt;
  }
  return Parser(std::move(*tokens)).Run();
}

}  // namespace lumora::services::sql
