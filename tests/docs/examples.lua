-- Turns the examples of one document into transcripts for the runner
-- (tests/e2e/transcript_runner.cpp; the format is in docs/testing.md):
--   pandoc -f gfm+sourcepos -t plain -L examples.lua -M into=DIR DOC -o /dev/null
-- An example is a code block whose first line begins with "$ ". Each "$ " line
-- is a shell command line, continued by the "> " lines right after it; the
-- lines up to the next command are its whole output, "␠" standing for the
-- blank that ends a line. Each example runs in a fresh folder on a fresh
-- simulated bridge, unless HTML comments right before it say otherwise:
--   <!-- example: continues -->      it runs on after the example before
--   <!-- example: not run, WHY -->   it does not run
--   <!-- example: varies TEXT -->    TEXT in its output stands for any text

local function Escaped(text, varies)
  local plain = text:gsub('␠', ' ')
  if not varies or not plain:find(varies, 1, true) then return '| ' .. plain end
  local line, at = '~ ', 1
  for before, after in function() return plain:find(varies, at, true) end do
    line, at = line .. plain:sub(at, before - 1) .. '*', after + 1
  end
  return line .. plain:sub(at)
end

function Pandoc(document)
  local into = pandoc.utils.stringify(document.meta.into)
  local name = PANDOC_STATE.input_files[1]
  local count, file, marks = 0, nil, {}
  local function Example(block)
    local first = block.text:match('^%$ ')
    if marks.notRun or not first then
      if next(marks) and not first then error(name .. ': a marker before no example') end
      marks = {}
      return
    end
    if not marks.continues then
      if file then file:close() end
      count = count + 1
      file = io.open(into .. '/' .. name:gsub('[^%w]', '_') .. string.format('_%02d.t', count), 'w')
    elseif not file then
      error(name .. ': the first example continues none')
    end
    file:write('# ', block.attr.attributes['data-pos'] or name, '\n')
    local command = false
    for line in (block.text .. '\n'):gmatch('(.-)\n') do
      if line:match('^%$ ') then
        file:write('% ', line:sub(3), '\n')
        command = true
      elseif command and line:match('^> ') then
        file:write('%> ', line:sub(3), '\n')
      else
        file:write(Escaped(line, marks.varies), '\n')
        command = false
      end
    end
    marks = {}
  end
  local function Mark(raw)
    local mark = raw.text:match('^<!%-%-%s*example:%s*(.-)%s*%-%->%s*$')
    if not mark then return end
    if mark == 'continues' then
      marks.continues = true
    elseif mark:match('^not run') then
      marks.notRun = true
    elseif mark:match('^varies ') then
      marks.varies = mark:sub(8)
    else
      error(name .. ': unknown marker "' .. mark .. '"')
    end
  end
  pandoc.walk_block(pandoc.Div(document.blocks), {CodeBlock = Example, RawBlock = Mark})
  if file then file:close() end
  if next(marks) then error(name .. ': a marker at the end') end
end
