-- Makes the scripting guide the manual page bridgefw(1) (see CMakeLists.txt
-- here). NAME comes first, from the metadata "name"; the guide's title gives
-- way to it and the guide's sections become the page's. A link to another
-- document names the file the package installs for it (the metadata "docdir",
-- the document's path from the top of the repository, ".gz"), and the document
-- must be one of those the package ships (the metadata "shipped"). A table
-- becomes a list, a row to an item, which the page's width always holds.

local stringify = pandoc.utils.stringify

-- A link target of a page in docs/, as a path from the top of the repository.
local function FromTop(target)
  local parts = {'docs'}
  for part in target:gmatch('[^/]+') do
    if part == '..' then
      table.remove(parts)
    elseif part ~= '.' then
      table.insert(parts, part)
    end
  end
  return table.concat(parts, '/')
end

-- The inlines of a table cell.
local function Inlines(cell)
  return cell[1] and cell[1].content or {}
end

-- Each row an item: its first cell the term, each other cell a paragraph,
-- after its column's heading when there are more than two. A row whose first
-- cell is empty goes on with the item before.
local function Table(table)
  local simple = pandoc.utils.to_simple_table(table)
  local items = pandoc.List()
  for _, row in ipairs(simple.rows) do
    local paragraphs = pandoc.List()
    for column = 2, #row do
      local inlines = pandoc.List()
      if #row > 2 then
        inlines:extend(Inlines(simple.headers[column]))
        inlines:extend({pandoc.Str(':'), pandoc.Space()})
      end
      inlines:extend(Inlines(row[column]))
      paragraphs:insert(pandoc.Para(inlines))
    end
    if #Inlines(row[1]) == 0 and #items > 0 then
      items[#items][2][1]:extend(paragraphs)
    else
      items:insert({Inlines(row[1]), {paragraphs}})
    end
  end
  return pandoc.DefinitionList(items)
end

function Pandoc(doc)
  local shipped = {}
  for path in stringify(doc.meta.shipped):gmatch('%S+') do shipped[path] = true end
  local function Link(link)
    if link.target:match('^%a+:') then return nil end
    if link.target:match('^#') then return link.content end
    local path = FromTop((link.target:gsub('#.*', '')))
    if not shipped[path] then
      error('the manual page points to ' .. path .. ', which the package does not ship')
    end
    return pandoc.Strong(pandoc.Str(stringify(doc.meta.docdir) .. '/' .. path .. '.gz'))
  end
  local function Header(header)
    if header.level == 1 then return {} end
    header.level = header.level - 1
    if header.level == 1 then header.content = pandoc.text.upper(stringify(header.content)) end
    return header
  end
  local blocks = pandoc.walk_block(pandoc.Div(doc.blocks), {Link = Link, Header = Header, Table = Table}).content
  table.insert(blocks, 1, pandoc.Header(1, 'NAME'))
  table.insert(blocks, 2, pandoc.Plain(stringify(doc.meta.name)))
  return pandoc.Pandoc(blocks, doc.meta)
end
