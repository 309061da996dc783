# Makes the pack of finer drawings the host draws large pictures from: the
# folder PACK beside the module, holding every bitmap-<id>@2x.bmp and @3x.bmp
# of the asset folder ASSETS and nothing else, so that a bitmap whose art was
# replaced (and whose finer files the generator removed) has none in it.
file(REMOVE_RECURSE ${PACK})
file(MAKE_DIRECTORY ${PACK})
file(GLOB finer ${ASSETS}/bitmap-*@[23]x.bmp)
foreach(file IN LISTS finer)
  get_filename_component(name ${file} NAME)
  file(CREATE_LINK ${file} ${PACK}/${name} COPY_ON_ERROR)
endforeach()
list(LENGTH finer count)
file(WRITE ${PACK}/pack.txt "Finer drawings of Ardelvine_Instr.gau's bitmaps for gaugehost: ${count} files\n")
