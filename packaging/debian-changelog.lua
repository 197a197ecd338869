-- A pandoc filter that turns CHANGELOG.md (Keep a Changelog) into the Debian
-- changelog of the package, printed with `-t plain`:
--   pandoc CHANGELOG.md -f markdown-smart -L debian-changelog.lua -t plain \
--     -M version=1.0.0.0 -M maintainer='Name <address>'
-- Each release ("## [VERSION] - YYYY-MM-DD") becomes one entry, each item of
-- its sections ("### Added", ...) one "* Section: text" line. Unreleased
-- changes are left out; the newest release must be the package's version.

local width = 79
local days = {'Sun', 'Mon', 'Tue', 'Wed', 'Thu', 'Fri', 'Sat'}
local months = {'Jan', 'Feb', 'Mar', 'Apr', 'May', 'Jun', 'Jul', 'Aug', 'Sep', 'Oct', 'Nov', 'Dec'}

-- TEXT as lines of at most `width` columns, the first after FIRST, the others
-- after as many blanks.
local function wrap(first, text)
  local indent = string.rep(' ', #first)
  local lines, line = {}, nil
  for word in text:gmatch('%S+') do
    if line == nil then
      line = first .. word
    elseif #line + 1 + #word > width then
      table.insert(lines, line)
      line = indent .. word
    else
      line = line .. ' ' .. word
    end
  end
  table.insert(lines, line or first)
  return table.concat(lines, '\n')
end

-- RFC 5322 date of a day, at midnight UTC.
local function day_of(year, month, day)
  -- Noon local time keeps the weekday of that day in any time zone.
  local t = os.date('*t', os.time({year = year, month = month, day = day, hour = 12}))
  return string.format('%s, %02d %s %04d 00:00:00 +0000', days[t.wday], day, months[month], year)
end

function Pandoc(doc)
  local version = pandoc.utils.stringify(doc.meta.version or '')
  local maintainer = pandoc.utils.stringify(doc.meta.maintainer or '')
  local entries, entry, section = {}, nil, nil
  for _, block in ipairs(doc.blocks) do
    if block.t == 'Header' and block.level == 2 then
      local title = pandoc.utils.stringify(block.content)
      local v, y, m, d = title:match('^%[?([%w.+~-]+)%]? %- (%d%d%d%d)%-(%d%d)%-(%d%d)$')
      if v then
        entry = {version = v, date = day_of(tonumber(y), tonumber(m), tonumber(d)), items = {}}
        table.insert(entries, entry)
      elseif title:match('^%[?Unreleased%]?$') then
        entry = nil
      else
        error('CHANGELOG.md: a release heading is "[VERSION] - YYYY-MM-DD", not "' .. title .. '"')
      end
    elseif block.t == 'Header' and block.level == 3 then
      section = pandoc.utils.stringify(block.content)
    elseif block.t == 'BulletList' and entry then
      for _, item in ipairs(block.content) do
        table.insert(entry.items, wrap('  * ', section .. ': ' .. pandoc.utils.stringify(item)))
      end
    end
  end
  if maintainer == '' then error('no maintainer given') end
  if #entries == 0 or entries[1].version ~= version then
    error('CHANGELOG.md: the newest release is not ' .. version)
  end
  local text = {}
  for _, e in ipairs(entries) do
    table.insert(text, string.format('bridgefw (%s) stable; urgency=medium\n\n%s\n\n -- %s  %s',
      e.version, table.concat(e.items, '\n'), maintainer, e.date))
  end
  return pandoc.Pandoc({pandoc.RawBlock('plain', table.concat(text, '\n\n'))})
end
