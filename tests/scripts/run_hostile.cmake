# Runs one hostile script, made here because it is too big or too repetitive
# to keep, through the ozra program. Each case must end with its exit status,
# its exact standard output and a standard error that matches its pattern:
# a clear result, never a crash.
set(words ${NAME}.ozra)
set(status 1)
set(out "")

# 150,000 objects of one kind, each holding the one made before it; the
# whole chain is freed when the run ends.
macro(chain make link)
  set(script "<.\nclass Node()\n  var nxt = 0\nend class\nvar head = 0\n"
             "for (i = 1 to 150000)\n  var cur = ${make}\n  ${link}\n  head = cur\nend for\n.>done")
  string(CONCAT script ${script})
  set(status 0)
  set(out "done")
  set(err "")
endmacro()

string(REPEAT " + 1" 80000 terms)
set(long_sum "<.var x = 1${terms}.>[.= x.]")
string(REPEAT "<.if (1).>" 200000 heads)
string(REPEAT "<.end if.>" 200000 ends)
set(nested_blocks "${heads}deep${ends}")
set(too_deep "ozra: syntax tree nested more than 10000 levels deep\\.\n")

if(NAME STREQUAL "long_expression")
  # One expression of 80,001 terms.
  set(script "${long_sum}")
  set(err "[^:]+:1:3: stack overflow\\.\n")
elseif(NAME STREQUAL "long_argument")
  # The same expression as a library method's argument.
  set(script "<.var x = 'a'.Replicate(1${terms}).>[.= x.]")
  set(err "[^:]+:1:3: stack overflow\\.\n")
elseif(NAME STREQUAL "nested_ifs")
  # 200,000 if blocks, each inside the one before.
  string(REPEAT "if (1) " 200000 code_heads)
  string(REPEAT "end if " 200000 code_ends)
  set(script "<.var x = 0 ${code_heads}x = 1 ${code_ends}.>[.= x.]")
  set(err "[^:]+:1:[0-9]+: stack overflow\\.\n")
elseif(NAME STREQUAL "nested_if_blocks")
  # The same nesting written as one code block per statement.
  set(script "${nested_blocks}")
  set(err "[^:]+:1:[0-9]+: stack overflow\\.\n")
elseif(NAME STREQUAL "long_expression_checked")
  # Compiled and freed only.
  set(script "${long_sum}")
  set(words --check ${NAME}.ozra)
  set(status 0)
  set(err "")
elseif(NAME STREQUAL "nested_if_blocks_checked")
  set(script "${nested_blocks}")
  set(words --check ${NAME}.ozra)
  set(status 0)
  set(err "")
elseif(NAME STREQUAL "long_expression_dumped")
  # Its picture would take gigabytes.
  set(script "${long_sum}")
  set(words --dump-tree ${NAME}.ozra)
  set(err "${too_deep}")
elseif(NAME STREQUAL "nested_if_blocks_dumped")
  set(script "${nested_blocks}")
  set(words --dump-tree ${NAME}.ozra)
  set(err "${too_deep}")
elseif(NAME STREQUAL "object_chain")
  chain("Node()" "cur.nxt = head")
elseif(NAME STREQUAL "list_chain")
  chain("System.List.List()" "cur.Add(head)")
elseif(NAME STREQUAL "hashtable_chain")
  chain("System.List.Hashtable()" "cur.Add(\"k\", head)")
elseif(NAME STREQUAL "property_list_chain")
  chain("System.List.SettingList()" "cur.nxt = head")
elseif(NAME STREQUAL "xml_document_chain")
  chain("System.XML.Document(\"r\")" "var p = cur.Root().Props()\n  p.nxt = head")
elseif(NAME STREQUAL "xml_ever_deeper")
  # 900 levels loaded into the deepest element of a document, again and
  # again: the second load would go past 1000 levels.
  string(REPEAT "<a>" 900 open)
  string(REPEAT "</a>" 900 close)
  set(script "<.\nvar d = System.XML.Document(\"r\")\nfor (round = 1 to 40)\n"
             "  var n = d.Root()\n  while (n.Nodes().Count() > 0)\n    n = n.Nodes()[0]\n"
             "  end while\n  n.LoadString(\"${open}${close}\")\nend for\n.>")
  string(CONCAT script ${script})
  set(err "[^:]+:8:3: XML nested more than 1000 levels deep\\.\n")
else()
  message(FATAL_ERROR "unknown hostile script ${NAME}")
endif()

file(MAKE_DIRECTORY ${OUTPUT})
file(WRITE ${OUTPUT}/${NAME}.ozra "${script}")
execute_process(
  COMMAND ${OZRA} ${words}
  WORKING_DIRECTORY ${OUTPUT}
  OUTPUT_VARIABLE actual_out
  ERROR_VARIABLE actual_err
  RESULT_VARIABLE actual_status
  TIMEOUT 300)
if(NOT actual_status STREQUAL "${status}")
  message(SEND_ERROR "${NAME}: exit status ${actual_status}, expected ${status}\n${actual_err}")
endif()
if(NOT actual_out STREQUAL "${out}")
  string(SUBSTRING "${actual_out}" 0 200 shown)
  message(SEND_ERROR "${NAME}: standard output differs\n--- expected ---\n${out}\n--- actual (start) ---\n${shown}\n---")
endif()
if(NOT actual_err MATCHES "^${err}$")
  message(SEND_ERROR "${NAME}: standard error differs\n--- expected (pattern) ---\n${err}\n--- actual ---\n${actual_err}\n---")
endif()
